#include "deletion_notice.h"

#include "base/hresult_error.h"
#include "catalogue/catalogue.h"
#include "catalogue/message_ids.h"
#include "document_url.h"
#include "empty_mail_event.h"
#include "engine/com_owners.h"
#include "engine/engine_factory.h"
#include "engine/engine_log.h"
#include "idl/desktop_search.h"
#include "settings/client_settings.h"
#include "settings/index_type_mask.h"

#include <functional>
#include <optional>
#include <string>

namespace tamsel {
namespace {

// True when at least one item at the url left the index.
bool RemoveFromIndex(DBHANDLE database, NOTEID id, PassContext& context) {
    if (!IsIndexTypeEnabled(indexFeatureDeletions))
        return false;
    const std::optional<std::wstring> url = NoteIdUrl(database, id);
    if (!url || url->empty())
        return false;
    HRESULT lastRemoval = S_OK;
    if (!RemoveDocument(*url, &lastRemoval))
        return false;
    context.noteStatus = 0;
    context.engineResult = lastRemoval;
    return true;
}

// The item's document URL ("url", else "cookie"); empty when the engine does not name it, and
// an item without one is never removed.
std::wstring ItemUrl(IOrvennaResultItem& item) {
    for (const wchar_t* name : {L"url", L"cookie"}) {
        const ThrowingBstr property(name);
        UniqueVariant value;
        if (SUCCEEDED(item.GetProperty(property.get(), value.put())) && (*value).vt == VT_BSTR)
            return std::wstring(automation::BstrView((*value).bstrVal));
    }
    return {};
}

// The engine answers a text it does not hold as a URL with a word search: every document
// quoting it comes back too, and only the items `wanted` names may leave. Counts the items
// that left; nothing when the engine could not be asked.
std::optional<size_t> RemoveFound(const std::wstring& text,
                                  const std::function<bool(std::wstring_view url)>& wanted,
                                  HRESULT* lastRemoval) {
    const LONG cookie = GetInstallTime();
    if (cookie == 0)
        return std::nullopt;
    ComPtr<IOrvennaQuery> query;
    HRESULT hr = CreateEngineObject(__uuidof(OrvennaQuery), inProcessContext, query);
    if (FAILED(hr)) {
        if (hr == REGDB_E_CLASSNOTREG)
            SetIndexTypeEnabled(indexFeatureDeletions, 0);
        DebugLogResult(msgLogFactoryCreationFailed, hr);
        return std::nullopt;
    }
    const ThrowingBstr queried(text);
    UniqueVariant category, ranking;
    ComPtr<IOrvennaResultSet> results;
    hr = query->Query(cookie, queried.get(), *category, *ranking, &results);
    if (FAILED(hr)) {
        DebugLogResult(msgLogFactoryCreationFailed, hr);
        return std::nullopt;
    }
    size_t removed = 0;
    ComPtr<IOrvennaResultItem> item;
    while (results && results->Next(&item) == S_OK && item) {
        if (wanted(ItemUrl(*item.Get()))) {
            const HRESULT removal = item->Remove(0);
            removed += SUCCEEDED(removal);
            if (lastRemoval)
                *lastRemoval = removal;
        }
        item.Reset();
    }
    return removed;
}

} // namespace

bool RemoveDocument(const std::wstring& url, HRESULT* lastRemoval) {
    if (!IsIndexTypeEnabled(indexFeatureDeletions))
        return false;
    const auto removed = RemoveFound(
        url, [&](std::wstring_view found) { return found == url; }, lastRemoval);
    return removed && *removed > 0;
}

bool RemoveDatabaseDocuments(const std::string& replica) {
    // An index that cannot take removals, or holds nothing of the plug-in's, keeps no
    // documents of the database to remove.
    if (!IsIndexTypeEnabled(indexFeatureDeletions) || GetInstallTime() == 0)
        return true;
    const std::string start = DocumentUrlStart(replica);
    std::optional<size_t> removed;
    try {
        removed = RemoveFound(
            std::wstring(start.begin(), start.end()),
            [&](std::wstring_view url) {
                return ReplicaOfUrl(std::string(url.begin(), url.end())) == replica;
            },
            nullptr);
    } catch (const HResultError& error) {
        DebugLogResult(msgLogFactoryCreationFailed, error.code);
    }
    if (removed)
        StoreLogMessage(msgLogReplacedDocumentsRemoved, ModuleInstance(), 0, replica.c_str(),
                        int(*removed));
    return removed.has_value();
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
