#include "converters.h"

#include "body_content.h"
#include "catalogue/catalogue.h"
#include "catalogue_text.h"
#include "deletion_notice.h"
#include "document_url.h"
#include "engine_date.h"
#include "folder_name.h"
#include "item_property.h"
#include "item_text.h"
#include "property_log.h"
#include "property_writers.h"
#include "send_event.h"
#include "settings/client_settings.h"
#include "settings/index_type_mask.h"
#include "text_property.h"

namespace tamsel {
namespace {

constexpr DWORD mailFlagUnread = 1;
constexpr DWORD mailFlagAttachments = 2;

struct Received {
    enum { date, skip, deleted } outcome;
    DATE time;
    bool draft;
};

// The posted date; for chat transcripts and drafts, which have none, the last change.
Received ReceivedTime(NOTEHANDLE note) {
    bool draft = false;
    if (HasItem(note, "PostedDate")) {
        STORETIME posted;
        if (StoreGetMailItemTime(note, STORE_MAIL_POSTEDDATE, &posted) == STORE_NOERROR)
            if (const auto date = ToEngineDate(posted))
                return {Received::date, *date, false};
    } else if (HasItem(note, "$IMTranscript")) {
        // A transcript that is not to be indexed must leave the index.
        if (!GetIndexChats())
            return {Received::deleted, 0.0, false};
    } else if (!GetIndexDrafts()) {
        return {Received::skip, 0.0, true};
    } else {
        draft = true;
    }
    const auto modified = NoteModifiedDate(note);
    return modified ? Received{Received::date, *modified, draft}
                    : Received{Received::deleted, 0.0, draft};
}

DWORD MailFlags(NOTEHANDLE note, const PassContext& context, bool draft) {
    DWORD flags = 0;
    if (!context.initialPass && !draft && context.unreadTable &&
        StoreIdTableContains(context.unreadTable, context.noteId))
        flags |= mailFlagUnread;
    if (HasItem(note, "$FILE"))
        flags |= mailFlagAttachments;
    return flags;
}

struct AddressProperty {
    WORD mailItemCode;
    PropertyId id;
};

constexpr AddressProperty addressProperties[] = {
    {STORE_MAIL_FROM, propFrom},           {STORE_MAIL_SENDTO, propTo},
    {STORE_MAIL_SUBJECT, propMailSubject}, {STORE_MAIL_COPYTO, propCc},
    {STORE_MAIL_BLINDCOPYTO, propBcc},     {STORE_MAIL_REPLYTO, propReplyTo},
};

HRESULT WriteFolder(EngineEvent& event, const PassContext& context, bool draft) {
    HRESULT hr;
    if (draft) {
        const std::string drafts = ClientCatalogueText(msgDraftsFolder);
        hr = WriteTextProperty(drafts.data(), WORD(drafts.size()), propFolderName, event, false);
    } else {
        hr = WriteFolderName(context.database, event, propFolderName, false);
    }
    if (FAILED(hr))
        DebugLogPropertyFailure("folder_name", hr);
    return hr;
}

// Every step up to the send; the first failure ends it.
HRESULT WriteAndSend(NOTEHANDLE note, PassContext& context, const Received& received) {
    EngineEvent event(indexTypeMail);
    HRESULT hr = SetEventDate(event, propReceivedTime, received.time);
    if (FAILED(hr)) {
        DebugLogPropertyFailure("received", hr);
        return hr;
    }
    if (FAILED(hr = WriteBodyContent(note, nullptr, true, event)) ||
        FAILED(hr = WriteDocumentUrl(note, event, propMailUrl)))
        return hr;
    if (IsIndexTypeEnabled(indexFeatureUrl) &&
        FAILED(
            hr = SetEventNumber(event, propMailFlags, MailFlags(note, context, received.draft)))) {
        DebugLogPropertyFailure("mail_flags", hr);
        return hr;
    }
    for (const AddressProperty& address : addressProperties)
        if (FAILED(hr = WriteAddressProperty(note, address.mailItemCode, event, address.id)))
            return hr;
    if (FAILED(hr = WriteFolder(event, context, received.draft)))
        return hr;
    return SendDocumentEvent(event, context);
}

} // namespace

bool ConvertMail(NOTEHANDLE note, PassContext* context) {
    context->engineResult = S_OK;
    context->noteStatus = 0;
    if (!note) {
        if (IsDebugLogging())
            StoreLogMessage(msgLogMailFileNull, ModuleInstance(), 0);
        context->noteStatus = STORE_ERR_NO_NOTE;
        return false;
    }
    const Received received = ReceivedTime(note);
    if (received.outcome == Received::skip)
        return true;
    if (received.outcome == Received::deleted) {
        const bool result = TreatAsDeleted(note, context);
        context->noteStatus = STORE_ERR_STUB;
        context->engineResult = S_OK;
        return result;
    }
    context->engineResult = WriteAndSend(note, *context, received);
    return context->engineResult == S_OK;
}

} // namespace tamsel
