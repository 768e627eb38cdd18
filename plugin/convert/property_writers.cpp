#include "property_writers.h"

#include "engine_date.h"
#include "ole_date.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <string>

namespace tamsel {
namespace {

// The text of a content line's value; none for a value of another kind.
bool ValueText(const VARIANT& value, std::wstring& text) {
    switch (value.vt) {
    case VT_BSTR:
        text = automation::BstrView(value.bstrVal);
        return true;
    case VT_UI4:
        text = std::to_wstring(value.ulVal);
        return true;
    case VT_I4:
        text = std::to_wstring(value.lVal);
        return true;
    default:
        return false;
    }
}

bool IsEmptyText(const VARIANT& value) {
    return value.vt != VT_UI4 && (value.vt != VT_BSTR || SysStringLen(value.bstrVal) == 0);
}

HRESULT AppendContentLine(EngineEvent& event, const wchar_t* name, const VARIANT& value) {
    std::wstring text;
    if (!ValueText(value, text))
        // Never taken as text: an error value reports its error (a failed allocation).
        return value.vt == VT_ERROR ? value.scode : DISP_E_TYPEMISMATCH;
    event.AppendContent(std::wstring(name) + L": " + text + L"\r\n");
    return S_OK;
}

// Seconds since 1970-01-01 UTC, to the nearest second: a date made from whole seconds lands a
// hair off them. Before 1901-12-13 the earliest value, rather than a wrapped one in 2036; of a
// wider number only the low 32 bits.
LONG UnixSeconds(DATE date) {
    const double seconds = std::round(ole_date::ToUnixSeconds(date));
    if (!std::isfinite(seconds))
        return 0;
    if (seconds < double(LONG_MIN))
        return LONG_MIN;
    return LONG(DWORD(static_cast<long long>(std::fmod(seconds, 4294967296.0))));
}

bool IsTimeId(PropertyId id) {
    return id == 43 || id == 48 || id == 53 || id == 58;
}

bool IsDateLineId(PropertyId id) {
    return id == 45 || id == 54 || (id >= 60 && id <= 64);
}

} // namespace

HRESULT SetEventProperty(EngineEvent& event, PropertyId id, const VARIANT& value) {
    if (!event.HasEngineEvent())
        return event.CreationResult();
    switch (id) {
    case propFrom:
    case propTo:
        if (IsEmptyText(value))
            return S_OK;
        [[fallthrough]];
    case propSubject:
    case propCc:
    case propMailSubject:
    case propBcc:
    case propReplyTo:
    case propFolderName:
        return event.AddProperty(PropertyName(id), value);
    case propContentFormat:
        event.MarkFormatGiven();
        return event.AddProperty(PropertyName(id), value);
    case propOtherUrl:
    case propMailUrl:
    case propExtendedUrl:
        event.SetUrl(value);
        return S_OK;
    default:
        if (IsTimeId(id) || IsDateLineId(id) || id > lastPropertyId)
            return AppendContentLine(event, L"unknown type", value);
        return AppendContentLine(event, PropertyName(id), value);
    }
}

HRESULT SetEventText(EngineEvent& event, PropertyId id, std::wstring_view text) {
    UniqueVariant value;
    value.get()->bstrVal = SysAllocStringLen(text.data(), UINT(text.size()));
    value.get()->vt = value.get()->bstrVal ? VT_BSTR : VT_ERROR;
    if (!value.get()->bstrVal)
        value.get()->scode = E_OUTOFMEMORY;
    return SetEventProperty(event, id, *value);
}

HRESULT SetEventNumber(EngineEvent& event, PropertyId id, DWORD number) {
    VARIANT value;
    value.vt = VT_UI4;
    value.ulVal = number;
    return SetEventProperty(event, id, value);
}

HRESULT SetEventDate(EngineEvent& event, PropertyId id, DATE date) {
    if (!event.HasEngineEvent())
        return event.CreationResult();
    if (IsTimeId(id)) {
        event.MarkTimeGiven();
        VARIANT seconds;
        seconds.vt = VT_I4;
        seconds.lVal = UnixSeconds(date);
        return event.AddProperty(L"time", seconds);
    }
    if (!(date >= 100.0))
        return S_OK;
    const auto fields = BreakEngineDate(date + 0.3333333333333333);
    const DateFields shown = fields ? *fields : DateFields{-1, -1, -1, -1, -1, -1};
    wchar_t line[96];
    std::swprintf(line, 96, L"%ls: (GMT+08:00) %d-%d-%d %d:%02d:%02d\r\n",
                  IsDateLineId(id) ? PropertyName(id) : L"unknown", shown.year, shown.month,
                  shown.day, shown.hour, shown.minute, shown.second);
    event.AppendContent(line);
    return S_OK;
}

} // namespace tamsel
