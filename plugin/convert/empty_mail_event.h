// Overwriting a deleted document in the index with an empty mail event at its url.
#pragma once
#include "engine/engine_event.h"
#include "property_id.h"
#include "state/pass_context.h"

namespace tamsel {

// True when the empty event was sent. Always leaves noteStatus 0.
bool SendEmptyMailEvent(DBHANDLE database, NOTEID id, PassContext* context);

// An empty text under the id; a failure is logged in debug mode.
HRESULT WriteEmptyProperty(EngineEvent& event, PropertyId id);

} // namespace tamsel
