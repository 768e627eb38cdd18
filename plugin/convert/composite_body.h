// A body made up of all of a document's items, for documents of forms without a known body.
#pragma once
#include "engine/engine_event.h"
#include "ntamsel.h"

namespace tamsel {

// Gathers the note's rich text (merge) or every item (each rich-text field once), then its
// URL, into a "Body" of a temporary note, and writes that body as WriteBodyContent does.
// Returns the write's result; 0 with bodyWritten false when the body could not be built.
HRESULT BuildCompositeBody(NOTEHANDLE note, DBHANDLE database, bool writeContent, bool merge,
                           bool& bodyWritten, EngineEvent& event);

// The item callback that copies one item of the source note into the compound.
STORESTATUS WINAPI CopyItemToCompound(void* context, NOTEHANDLE note, const char* name,
                                      WORD nameLength, WORD dataType, DWORD valueLength);

} // namespace tamsel
