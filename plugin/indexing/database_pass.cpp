#include "database_pass.h"

#include "host/host_state.h"
#include "idl/engine_results.h"
#include "index_status.h"
#include "indexing_loop.h"
#include "note_callback.h"
#include "settings/client_settings.h"
#include "settings/index_type_mask.h"
#include "ui/catalogue.h"

namespace tamsel {
namespace {

constexpr WORD documentClass = STORE_NOTECLASS_DOCUMENT;
constexpr WORD userNameSize = 256;

BYTE& OpenErrorFlag(int slot, BYTE historyPass) {
    return historyPass ? historyOpenErrorReported : openErrorReported[slot];
}

// The first failure of a database is always logged, repeated ones only in debug mode.
void LogOpenFailure(int slot, BYTE historyPass, bool unreported, WORD message, STORESTATUS status,
                    const char* path) {
    if (!IsDebugLogging() && !unreported)
        return;
    StoreLogMessage(message, ModuleInstance(), status, path);
    OpenErrorFlag(slot, historyPass) = 1;
}

IDTABLEHANDLE UnreadTable(DBHANDLE database) {
    char user[userNameSize];
    if (StoreGetUserName(STORE_USERNAME_CURRENT, user, sizeof user) != STORE_NOERROR)
        return 0;
    IDTABLEHANDLE table = 0;
    if (StoreGetUnreadTable(database, user, WORD(lstrlenA(user)), &table) != STORE_NOERROR)
        return 0;
    return table;
}

void LogSummary(int slot, const PassContext& pass) {
    char path[slotPathLength + 1];
    GetSlotPath(slot, path, sizeof path);
    const HMODULE module = ModuleInstance();
    if (IsDebugLogging()) {
        StoreLogMessage(144, module, pass.noteStatus, path, pass.indexedCount, pass.skippedCount,
                        pass.engineResult, pass.engineErrorCount, pass.noteErrorCount);
        return;
    }
    if (pass.engineResult != 0 && pass.engineResult != engine_results::E_SEND_DELAYED &&
        pass.engineResult != engine_results::S_INDEXING_PAUSED) {
        StoreLogMessage(159, module, 0, path, pass.indexedCount, pass.engineResult);
        return;
    }
    if (!pass.historyPass && pass.indexedCount > 0)
        StoreLogMessage(160, module, pass.noteStatus == walkStopped ? 0 : pass.noteStatus, path,
                        pass.indexedCount);
}

} // namespace

void PassOverSlot(int slot, BYTE historyPass) {
    const bool unreported = !OpenErrorFlag(slot, historyPass);
    char path[slotPathLength + 1];
    if (!GetSlotPath(slot, path, sizeof path))
        return;
    IdleYield();
    DBHANDLE database = 0;
    const STORESTATUS opened = OpenIndexedDatabase(nullptr, path, &database);
    if (opened != STORE_NOERROR)
        LogOpenFailure(slot, historyPass, unreported, 134, opened, path);
    else if (IsDebugLogging())
        StoreLogMessage(135, ModuleInstance(), 0, path);
    if (!database)
        return;

    STORETIME since, until;
    GetLastIndexed(slot, &since);
    NOTEID recoveryNoteId = 0;
    if (GetResumePoint(slot, &until, &recoveryNoteId)) {
        PassOverDatabase(slot, database, &since, &until, recoveryNoteId, historyPass);
    } else if (STORESTATUS status = StoreGetDatabaseModifiedTime(database, &until, nullptr)) {
        LogOpenFailure(slot, historyPass, unreported, 138, status, path);
    } else {
        if (until.timeOfDay == 0 || until.dayNumber == 0)
            StoreCurrentTime(&until);
        PassOverDatabase(slot, database, &since, &until, 0, historyPass);
    }
    StoreCloseDatabase(database);
}

STORESTATUS PassOverDatabase(int slot, DBHANDLE database, const STORETIME* since, STORETIME* until,
                             NOTEID recoveryNoteId, BYTE historyPass) {
    IdleYield();
    IDTABLEHANDLE table = 0;
    const STORESTATUS listed =
        StoreGetModifiedNoteTable(database, documentClass, *since, until, &table);
    if (IsDebugLogging())
        StoreLogMessage(141, ModuleInstance(), 0, since, until, recoveryNoteId);
    if (!historyPass) {
        indexStatus.currentSlot = slot;
        indexStatus.total = 0;
        indexStatus.processed = 0;
        indexStatus.resumePending = 0;
    }
    indexStatus.historyActive = 0;

    if (listed == STORE_ERR_NOT_MODIFIED) {
        SaveSlotState(slot, until, nullptr, 0, 0, 0);
        if (IsDebugLogging())
            StoreLogMessage(142, ModuleInstance(), 0);
        if (!historyPass) {
            indexStatus.passRunning = 0;
            indexStatus.upToDate = 1;
        }
        return STORE_NOERROR;
    }
    if (listed != STORE_NOERROR) {
        StoreLogMessage(143, ModuleInstance(), listed);
        return listed;
    }

    if (!historyPass) {
        indexStatus.passRunning = 1;
        indexStatus.upToDate = 0;
        indexStatus.total = StoreIdTableCount(table);
        indexStatus.resumePending = recoveryNoteId != 0;
    }
    PassContext pass{};
    pass.database = database;
    pass.recoveryNoteId = recoveryNoteId;
    STORETIME earliest;
    StoreSetTimeConstant(STORE_TIME_EARLIEST, &earliest);
    pass.initialPass = StoreCompareTimes(since, &earliest) == 0;
    pass.historyPass = historyPass;
    if (!historyPass)
        pass.unreadTable = UnreadTable(database);

    const STORESTATUS walked = StoreIdTableEnumerate(table, NoteCallback, &pass);
    StoreIdTableFree(table);
    if (pass.unreadTable)
        StoreIdTableFree(pass.unreadTable);

    LogSummary(slot, pass);
    if (!historyPass)
        indexStatus.passRunning = 0;
    if (pass.engineResult == engine_results::E_SEND_DELAYED) {
        nextWaitMs = pass.sendCookie;
        CountSendDelayed();
    } else {
        nextWaitMs = 0;
    }
    indexStatus.historyActive = 0;

    if (!pass.stopPass) {
        if (!historyPass) {
            indexStatus.resumePending = 0;
            indexStatus.upToDate = walked == STORE_NOERROR;
        }
        SaveSlotState(slot, walked == STORE_NOERROR ? until : since, nullptr, 0, 0, 0);
        return walked;
    }
    SaveSlotState(slot, since, until, pass.noteId, historyPass ? 0 : LONG(indexStatus.processed),
                  historyPass ? 0 : LONG(indexStatus.total));
    if (!historyPass)
        indexStatus.resumePending = 1;
    if (IsDebugLogging())
        StoreLogMessage(145, ModuleInstance(), pass.noteStatus);
    return walked;
}

} // namespace tamsel
