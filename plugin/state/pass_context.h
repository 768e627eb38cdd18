// What one pass over a database hands to the note callback and on to every converter.
#pragma once
#include "ntamsel.h"

namespace tamsel {

struct PassContext {
    DWORD indexedCount;     // converted and sent
    DWORD skippedCount;     // taken by no converter, or refused by the engine as too large
    DWORD noteErrorCount;   // could not be opened, or the conversion failed with a client status
    DWORD engineErrorCount; // the conversion or deletion notice failed in the engine
    DWORD deletedCount;     // deletion notices sent, and notes a converter found deleted (549)
    HRESULT engineResult;   // the converter's last engine call; 0 = success
    STORESTATUS noteStatus; // the converter's last client failure; 549 = treat as deleted
    DWORD sendCookie;       // the engine's send answer; with E_SEND_DELAYED the wait in ms
    NOTEID noteId;
    BYTE stopPass; // the walk was stopped early: a recovery point is stored
    DBHANDLE database;
    IDTABLEHANDLE unreadTable; // the user's unread notes here; 0 in history passes
    NOTEID recoveryNoteId;     // lower IDs are skipped; 0 = none
    STORETIME recoveryUntil;   // unless changed after this, when the interrupted walk listed them
    BYTE initialPass;          // the database is indexed for the first time
    BYTE historyPass;
    int slot;         // the database's place in the list
    const char* path; // the database as the list named it when the pass began; null: any
};

} // namespace tamsel
