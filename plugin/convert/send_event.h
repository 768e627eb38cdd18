// The last step of a converter: sending its event.
#pragma once
#include "engine/engine_event.h"
#include "state/pass_context.h"

namespace tamsel {

// Sends and returns the engine's answer; anything but 0 is a failure (logged in debug mode).
HRESULT SendEvent(EngineEvent& event);
// The same for a converted document: clears sendCookie and lets the idle gate count.
HRESULT SendDocumentEvent(EngineEvent& event, PassContext& context);

} // namespace tamsel
