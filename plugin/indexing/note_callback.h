// What the walk over a modified-notes table does with each note.
#pragma once
#include "state/pass_context.h"

namespace tamsel {

// Where the callback sends each note; tests replace them to script converters' answers.
struct NoteHandlers {
    bool (*convert)(NOTEHANDLE note, PassContext* context);
    bool (*sendDeletion)(DBHANDLE database, NOTEID id, PassContext* context);
};
extern NoteHandlers noteHandlers;

// Skips, sends a deletion notice for, or converts one note; a nonzero status stops the walk.
STORESTATUS WINAPI NoteCallback(void* context, NOTEID id);

} // namespace tamsel
