// Overwriting a deleted document in the index with an empty mail event at its url.
#pragma once
#include "engine/engine_event.h"
#include "property_id.h"
#include "state/pass_context.h"

#include <string>
#include <string_view>

namespace tamsel {

// Overwrites the document at the url with the empty event; S_OK when it was sent.
HRESULT SendEmptiedDocument(const std::wstring& url);

// True when the empty event was sent. Always leaves noteStatus 0.
bool SendEmptyMailEvent(DBHANDLE database, NOTEID id, PassContext* context);

// An empty text under the id; a failure is logged in debug mode.
HRESULT WriteEmptyProperty(EngineEvent& event, PropertyId id);

// Read back from the index: whether a text property the engine stored could be the empty
// event's. It leaves the url and the format, names without values in the content, and every
// other text empty. A document whose texts all pass is an emptied one.
bool IsEmptiedEventText(std::string_view name, std::string_view text);

} // namespace tamsel
