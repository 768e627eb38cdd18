// Overwriting a deleted document in the index with an empty mail event at its url.
#pragma once
#include "engine/engine_event.h"
#include "property_id.h"
#include "state/pass_context.h"

#include <string>

namespace tamsel {

// Overwrites the document at the url with the empty event; S_OK when it was sent.
HRESULT SendEmptiedDocument(const std::wstring& url);

// True when the empty event was sent. Always leaves noteStatus 0.
bool SendEmptyMailEvent(DBHANDLE database, NOTEID id, PassContext* context);

// An empty text under the id; a failure is logged in debug mode.
HRESULT WriteEmptyProperty(EngineEvent& event, PropertyId id);

} // namespace tamsel
