// The body text of a note written into its event.
#pragma once
#include "engine/engine_event.h"
#include "ntamsel.h"

namespace tamsel {

// With writeContent: "content_format", "content" and, while the engine takes them, the url and
// "other_data"; a failed "content_format" or "content" is returned. Without it, the text goes
// only to "other_data". Without an item name the standard body, else the data fields list.
// The URLs written are urlNote's (by default the note's own).
HRESULT WriteBodyContent(NOTEHANDLE note, const char* itemName, bool writeContent,
                         EngineEvent& event, NOTEHANDLE urlNote = 0);

} // namespace tamsel
