#include "event_builder.h"

#include "idl/engine_results.h"
#include "shared_index.h"
#include "support/key_watch.h"
#include "support/utf.h"

#include <algorithm>
#include <optional>

namespace engine_core {
namespace {

using namespace engine_results;

std::optional<engine_index::Properties> ToProperty(const VARIANT& value, unsigned types) {
    switch (value.vt) {
    case VT_BSTR:
        if (types & kText)
            return engine_support::ToUtf8(
                std::wstring_view(value.bstrVal, value.bstrVal ? SysStringLen(value.bstrVal) : 0));
        break;
    case VT_I4:
        if (types & kNumber)
            return static_cast<long long>(value.lVal);
        break;
    case VT_UI4:
        if (types & kNumber)
            return static_cast<long long>(value.ulVal);
        break;
    case VT_DATE:
        if (types & kDate)
            return engine_index::Properties{{"date", value.date}};
        break;
    default:
        break;
    }
    return std::nullopt;
}

size_t ValueBytes(const engine_index::Properties& value) {
    return value.is_string() ? value.get_ref<const std::string&>().size() : sizeof(double);
}

} // namespace

EventBuilder::EventBuilder(const EventKind& kind, std::string component)
    : kind_(kind), switches_(ReadSwitches()) {
    document_.engine = kind.engine;
    document_.schema = kind.schema;
    document_.component = std::move(component);
    // Room for every property of the kind: no moving of values while they are added.
    document_.properties.get_ref<engine_index::Properties::object_t&>().reserve(
        kind.properties.size());
}

HRESULT EventBuilder::AddProperty(BSTR name, const VARIANT& value) {
    if (!name)
        return E_INVALIDARG;
    const std::string key = engine_support::ToUtf8(std::wstring_view(name, SysStringLen(name)));
    const auto rule = std::find_if(kind_.properties.begin(), kind_.properties.end(),
                                   [&](const PropertyRule& r) { return key == r.name; });
    if (rule == kind_.properties.end())
        return E_NO_SUCH_PROPERTY;
    if (switches_.serviceStopped)
        return E_SERVICE_NOT_RUNNING;
    if (switches_.componentDisabled)
        return E_COMPONENT_DISABLED;
    if (!switches_.failProperty.empty() && _wcsicmp(switches_.failProperty.c_str(), name) == 0)
        return switches_.failPropertyCode;
    auto property = ToProperty(value, rule->types);
    if (!property)
        return E_INVALIDARG;
    const size_t bytes = ValueBytes(*property);
    if (switches_.maxPropertyBytes && bytes > switches_.maxPropertyBytes)
        return E_PROPERTY_TOO_LARGE;
    // An event's size counts its property names too.
    if (document_.properties.contains(key))
        bytes_ -= key.size() + ValueBytes(document_.properties[key]);
    bytes_ += key.size() + bytes;
    document_.properties[key] = std::move(*property);
    return S_OK;
}

HRESULT EventBuilder::Send() {
    // The switches and the index folder as of one moment.
    const engine_support::EngineCall call;
    const Switches now = ReadSwitches();
    const DWORD ordinal = CountSend(now);
    if (now.serviceStopped)
        return E_SERVICE_NOT_RUNNING;
    if (now.componentDisabled)
        return E_COMPONENT_DISABLED;
    if (now.paused)
        return S_INDEXING_PAUSED;
    if (now.failSendCode && ordinal >= now.failSendFrom &&
        (now.failSendCount == 0 || ordinal - now.failSendFrom < now.failSendCount))
        return now.failSendCode;
    if (now.maxEventBytes && bytes_ > now.maxEventBytes)
        return E_EVENT_TOO_LARGE;
    const auto url = document_.properties.find(kind_.urlProperty);
    document_.url = url != document_.properties.end() && url->is_string() ? url->get<std::string>()
                                                                          : std::string();
    document_.stored = engine_index::StoredNow();
    return CurrentIndexLog().Append(engine_index::AddRecord(document_));
}

} // namespace engine_core
