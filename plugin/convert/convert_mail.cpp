#include "converters.h"

#include "body_content.h"
#include "catalogue/catalogue.h"
#include "catalogue_text.h"
#include "document_steps.h"
#include "document_url.h"
#include "engine_date.h"
#include "form_rules.h"
#include "item_property.h"
#include "item_text.h"
#include "note_kind.h"
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
    enum { date, deleted } outcome;
    DATE time;
    bool draft;
};

// The posted date; for chat transcripts and drafts, which have none, the last change.
Received ReceivedTime(NOTEHANDLE note) {
    const MailSort sort = SortOfMail(note);
    const bool draft = sort == MailSort::draft;
    // A transcript or draft that is not to be indexed must leave the index: it may have been
    // sent while the settings asked for it.
    if (!IsSortIndexed(sort))
        return {Received::deleted, 0.0, draft};
    const auto time = MailTime(note, sort);
    return time ? Received{Received::date, *time, draft} : Received{Received::deleted, 0.0, draft};
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

HRESULT WriteMailFolder(EngineEvent& event, const PassContext& context, bool draft) {
    if (!draft)
        return WriteFolder(context.database, event);
    const std::string drafts = ClientCatalogueText(msgDraftsFolder);
    const HRESULT hr =
        WriteTextProperty(drafts.data(), WORD(drafts.size()), propFolderName, event, false);
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
    if (FAILED(hr = WriteMailFolder(event, context, received.draft)))
        return hr;
    return SendDocumentEvent(event, context);
}

} // namespace

bool ConvertMail(NOTEHANDLE note, PassContext* context) {
    if (!note)
        return RefuseMissingNote(context);
    const Received received = ReceivedTime(note);
    if (received.outcome == Received::deleted)
        return HandOverAsDeleted(note, context);
    return Finish(context, WriteAndSend(note, *context, received));
}

} // namespace tamsel
