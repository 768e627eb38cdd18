// Writing a value by PropertyId into an engine event: as an engine property, as the kept url,
// or as a "name: value" line of the content text. Neither writer logs.
#pragma once
#include "engine/engine_event.h"
#include "property_id.h"

#include <string_view>

namespace tamsel {

// value: a text (VT_BSTR) or a 32-bit unsigned number (VT_UI4); the caller keeps ownership.
// Returns the engine's result for a sent property, else 0; the creation result when the
// event has no engine event.
HRESULT SetEventProperty(EngineEvent& event, PropertyId id, const VARIANT& value);
HRESULT SetEventText(EngineEvent& event, PropertyId id, std::wstring_view text);
HRESULT SetEventNumber(EngineEvent& event, PropertyId id, DWORD number);

// The "time" ids send Unix seconds; the others write a GMT+08:00 line, nothing below date 100.
HRESULT SetEventDate(EngineEvent& event, PropertyId id, DATE date);

} // namespace tamsel
