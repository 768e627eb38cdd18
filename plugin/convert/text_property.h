// A text of the client's character set written as a property: translated to UTF-16 (at most
// 29999 characters) on the way.
#pragma once
#include "engine/engine_event.h"
#include "property_id.h"

namespace tamsel {

// An empty text is written only with writeEmpty. The engine's E_NO_SUCH_PROPERTY is logged
// and taken as success: the engine merely lacks that property.
HRESULT WriteTextProperty(const char* text, WORD length, PropertyId id, EngineEvent& event,
                          bool writeEmpty);

} // namespace tamsel
