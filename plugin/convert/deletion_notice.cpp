#include "deletion_notice.h"

#include "catalogue/message_ids.h"
#include "document_url.h"
#include "empty_mail_event.h"
#include "engine/com_owners.h"
#include "engine/engine_factory.h"
#include "engine/engine_log.h"
#include "idl/desktop_search.h"
#include "settings/client_settings.h"
#include "settings/index_type_mask.h"

#include <string>

namespace tamsel {
namespace {

// True when at least one item at the url left the index.
bool RemoveFromIndex(DBHANDLE database, NOTEID id, PassContext& context) {
    if (!IsIndexTypeEnabled(indexFeatureDeletions))
        return false;
    STOREORIGINATORID originator{};
    const STORESTATUS status = StoreGetNoteInfoById(database, id, &originator, nullptr, nullptr);
    if (status != STORE_NOERROR && status != STORE_ERR_STUB)
        return false;
    char url[documentUrlSize];
    const WORD length = BuildDocumentUrl(database, originator, url);
    if (length == 0)
        return false;
    HRESULT lastRemoval = S_OK;
    if (!RemoveDocument(std::wstring(url, url + length), &lastRemoval))
        return false;
    context.noteStatus = 0;
    context.engineResult = lastRemoval;
    return true;
}

// The item's document URL; an engine that cannot name it is not trusted with a removal.
bool ItemIsAt(IOrvennaResultItem& item, const std::wstring& url) {
    for (const wchar_t* name : {L"url", L"cookie"}) {
        const ThrowingBstr property(name);
        UniqueVariant value;
        if (SUCCEEDED(item.GetProperty(property.get(), value.put())) && (*value).vt == VT_BSTR)
            return automation::BstrView((*value).bstrVal) == url;
    }
    return false;
}

} // namespace

bool RemoveDocument(const std::wstring& url, HRESULT* lastRemoval) {
    if (!IsIndexTypeEnabled(indexFeatureDeletions))
        return false;
    const LONG cookie = GetInstallTime();
    if (cookie == 0)
        return false;
    ComPtr<IOrvennaQuery> query;
    HRESULT hr = CreateEngineObject(__uuidof(OrvennaQuery), inProcessContext, query);
    if (FAILED(hr)) {
        if (hr == REGDB_E_CLASSNOTREG)
            SetIndexTypeEnabled(indexFeatureDeletions, 0);
        DebugLogResult(msgLogFactoryCreationFailed, hr);
        return false;
    }
    const ThrowingBstr text(url);
    UniqueVariant category, ranking;
    ComPtr<IOrvennaResultSet> results;
    hr = query->Query(cookie, text.get(), *category, *ranking, &results);
    if (FAILED(hr)) {
        DebugLogResult(msgLogFactoryCreationFailed, hr);
        return false;
    }
    if (!results)
        return false;
    // The engine answers a URL it does not hold with a word search: every document quoting
    // the URL would come back, and only the document at the URL may leave.
    bool removed = false;
    ComPtr<IOrvennaResultItem> item;
    while (results->Next(&item) == S_OK && item) {
        if (!ItemIsAt(*item.Get(), url)) {
            item.Reset();
            continue;
        }
        const HRESULT removal = item->Remove(0);
        removed = removed || SUCCEEDED(removal);
        if (lastRemoval)
            *lastRemoval = removal;
        item.Reset();
    }
    return removed;
}

bool SendDeletionNotice(DBHANDLE database, NOTEID id, PassContext* context) {
    try {
        return RemoveFromIndex(database, id, *context) || SendEmptyMailEvent(database, id, context);
    } catch (const HResultError& error) {
        context->engineResult = error.code;
        context->noteStatus = 0;
        return false;
    }
}

bool TreatAsDeleted(NOTEHANDLE note, PassContext* context) {
    NOTEID id = 0;
    DBHANDLE database = 0;
    StoreGetNoteInfo(note, STORE_NOTEINFO_ID, &id);
    StoreGetNoteInfo(note, STORE_NOTEINFO_DATABASE, &database);
    if (!note || !database)
        return false;
    return SendDeletionNotice(database, id, context);
}

} // namespace tamsel
