#include "empty_mail_event.h"

#include "base/hresult_error.h"
#include "document_url.h"
#include "property_log.h"
#include "property_writers.h"
#include "send_event.h"
#include "settings/index_type_mask.h"

#include <algorithm>
#include <string>

namespace tamsel {
namespace {

constexpr PropertyId emptiedIds[] = {propContent,    propFrom,       propTo,      propMailSubject,
                                     propCc,         propBcc,        propReplyTo, propFolderName,
                                     propMailHeader, propExtendedUrl};

HRESULT WriteEmptyEvent(EngineEvent& event, const std::wstring& url) {
    HRESULT hr = SetEventDate(event, propReceivedTime, 0.0);
    if (FAILED(hr)) {
        DebugLogPropertyFailure("received", hr);
        return hr;
    }
    if (FAILED(hr = SetEventText(event, propContentFormat, L"text/plain"))) {
        DebugLogPropertyFailure("format", hr);
        return hr;
    }
    for (const PropertyId id : emptiedIds)
        if (FAILED(hr = WriteEmptyProperty(event, id)))
            return hr;
    if (FAILED(hr = SetEventText(event, propMailUrl, url))) {
        DebugLogPropertyFailure("mail_id", hr);
        return hr;
    }
    return hr;
}

// The engine stores the names as the writers spell them, in ASCII.
bool IsNameOf(std::string_view name, PropertyId id) {
    const std::wstring_view written = PropertyName(id);
    return std::equal(name.begin(), name.end(), written.begin(), written.end(),
                      [](char stored, wchar_t wide) { return wchar_t(stored) == wide; });
}

// Content lines "name: value" with no value: what the empty event's content holds.
bool HasNoValues(std::string_view content) {
    while (!content.empty()) {
        const size_t end = content.find("\r\n");
        const std::string_view line = content.substr(0, end);
        if (!line.empty() && line.substr(line.size() - std::min<size_t>(line.size(), 2)) != ": ")
            return false;
        content.remove_prefix(end == std::string_view::npos ? content.size() : end + 2);
    }
    return true;
}

} // namespace

HRESULT SendEmptiedDocument(const std::wstring& url) {
    EngineEvent event(indexTypeMail);
    RETURN_IF_FAILED(WriteEmptyEvent(event, url));
    return SendEvent(event);
}

HRESULT WriteEmptyProperty(EngineEvent& event, PropertyId id) {
    const HRESULT hr = SetEventText(event, id, L"");
    if (FAILED(hr))
        DebugLogPropertyFailure(PropertyLogName(id).c_str(), hr);
    return hr;
}

bool SendEmptyMailEvent(DBHANDLE database, NOTEID id, PassContext* context) {
    context->engineResult = S_OK;
    context->noteStatus = 0;
    const std::optional<std::wstring> url = NoteIdUrl(database, id);
    if (!url)
        return false;
    context->engineResult = SendEmptiedDocument(*url);
    return context->engineResult == S_OK;
}

bool IsEmptiedEventText(std::string_view name, std::string_view text) {
    if (IsNameOf(name, propMailUrl) || IsNameOf(name, propContentFormat))
        return true;
    if (IsNameOf(name, propContent))
        return HasNoValues(text);
    return text.empty();
}

} // namespace tamsel
