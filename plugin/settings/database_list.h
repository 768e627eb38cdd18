// The list of indexed databases and their index state, kept in the client's settings.
#pragma once
#include "ntamsel.h"

namespace tamsel {

// Loads the slots' paths and time stamps.
void LoadDatabaseList();
// 1 when the slot is in use; with a buffer, also its path (at most size bytes).
BYTE GetSlotPath(int slot, char* buffer, WORD size);
// Records how far the slot's database is indexed and writes it to the settings; a null
// last-indexed time clears the slot's state.
void SaveSlotState(int slot, const STORETIME* lastIndexed, const STORETIME* until,
                   DWORD resumeNoteId, LONG processed, LONG total);

} // namespace tamsel
