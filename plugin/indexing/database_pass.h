// One pass over one database of the list: its changes since the slot's time stamp, walked in
// note-ID order, and the slot's new index state.
#pragma once
#include "settings/database_list.h"

namespace tamsel {

// Status of the walk that the note callback returns to stop it.
constexpr STORESTATUS walkStopped = 719;
constexpr STORESTATUS walkEngineFailed = 11779;

void PassOverSlot(int slot, BYTE historyPass);
// Walks the notes modified after `since`; `until` receives the time the table is complete to.
STORESTATUS PassOverDatabase(int slot, DBHANDLE database, const STORETIME* since, STORETIME* until,
                             NOTEID recoveryNoteId, BYTE historyPass);

} // namespace tamsel
