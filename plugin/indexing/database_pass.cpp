#include "database_pass.h"

#include "base/store_owners.h"
#include "catalogue/catalogue.h"
#include "engine_results.h"
#include "indexing_loop.h"
#include "note_callback.h"
#include "settings/client_settings.h"
#include "settings/index_type_mask.h"
#include "state/index_status.h"
#include "state/thread_flags.h"

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

UniqueIdTable UnreadTable(DBHANDLE database) {
    char user[userNameSize];
    if (StoreGetUserName(STORE_USERNAME_CURRENT, user, sizeof user) != STORE_NOERROR)
        return {};
    UniqueIdTable table;
    if (StoreGetUnreadTable(database, user, WORD(lstrlenA(user)), table.put()) != STORE_NOERROR)
        return {};
    return table;
}

void LogSummary(int slot, const PassContext& pass) {
    char path[slotPathLength + 1];
    GetSlotPath(slot, path, sizeof path);
    const HMODULE module = ModuleInstance();
    if (IsDebugLogging()) {
        StoreLogMessage(msgLogPassSummaryDebug, module, pass.noteStatus, path, pass.indexedCount,
                        pass.skippedCount, pass.engineResult, pass.engineErrorCount,
                        pass.noteErrorCount);
        return;
    }
    if (pass.engineResult != 0 && pass.engineResult != engine_results::E_SEND_DELAYED &&
        pass.engineResult != engine_results::S_INDEXING_PAUSED) {
        StoreLogMessage(msgLogPassSummaryFailed, module, 0, path, pass.indexedCount,
                        pass.engineResult);
        return;
    }
    if (!pass.historyPass && pass.indexedCount > 0)
        StoreLogMessage(msgLogPassSummary, module,
                        pass.noteStatus == walkStopped ? 0 : pass.noteStatus, path,
                        pass.indexedCount);
}

} // namespace

void PassOverSlot(int slot, BYTE historyPass) {
    const bool unreported = !OpenErrorFlag(slot, historyPass);
    char path[slotPathLength + 1];
    if (!GetSlotPath(slot, path, sizeof path))
        return;
    IdleYield();
    UniqueDatabase database;
    const STORESTATUS opened = OpenIndexedDatabase(nullptr, path, database.put());
    if (opened != STORE_NOERROR)
        LogOpenFailure(slot, historyPass, unreported, msgLogDatabaseOpenFailed, opened, path);
    else if (IsDebugLogging())
        StoreLogMessage(msgLogDatabaseOpened, ModuleInstance(), 0, path);
    if (!database)
        return;

    STORETIME since, until;
    GetLastIndexed(slot, &since);
    NOTEID recoveryNoteId = 0;
    if (GetResumePoint(slot, &until, &recoveryNoteId)) {
        PassOverDatabase(slot, database.get(), &since, &until, recoveryNoteId, historyPass);
    } else if (STORESTATUS status = StoreGetDatabaseModifiedTime(database.get(), &until, nullptr)) {
        LogOpenFailure(slot, historyPass, unreported, msgLogModifiedTimeFailed, status, path);
    } else {
        if (until.timeOfDay == 0 || until.dayNumber == 0)
            StoreCurrentTime(&until);
        PassOverDatabase(slot, database.get(), &since, &until, 0, historyPass);
    }
}

STORESTATUS PassOverDatabase(int slot, DBHANDLE database, const STORETIME* since, STORETIME* until,
                             NOTEID recoveryNoteId, BYTE historyPass) {
    IdleYield();
    UniqueIdTable table;
    const STORESTATUS listed =
        StoreGetModifiedNoteTable(database, documentClass, *since, until, table.put());
    if (IsDebugLogging())
        StoreLogMessage(msgLogStartingDatabase, ModuleInstance(), 0, since, until, recoveryNoteId);
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
            StoreLogMessage(msgLogNoModifiedNotes, ModuleInstance(), 0);
        if (!historyPass) {
            indexStatus.passRunning = 0;
            indexStatus.upToDate = 1;
        }
        return STORE_NOERROR;
    }
    if (listed != STORE_NOERROR) {
        StoreLogMessage(msgLogChangeListFailed, ModuleInstance(), listed);
        return listed;
    }

    if (!historyPass) {
        indexStatus.passRunning = 1;
        indexStatus.upToDate = 0;
        indexStatus.total = StoreIdTableCount(table.get());
        indexStatus.resumePending = recoveryNoteId != 0;
    }
    PassContext pass{};
    pass.database = database;
    pass.recoveryNoteId = recoveryNoteId;
    STORETIME earliest;
    StoreSetTimeConstant(STORE_TIME_EARLIEST, &earliest);
    pass.initialPass = StoreCompareTimes(since, &earliest) == 0;
    pass.historyPass = historyPass;
    UniqueIdTable unread;
    if (!historyPass)
        unread = UnreadTable(database);
    pass.unreadTable = unread.get();

    const STORESTATUS walked = StoreIdTableEnumerate(table.get(), NoteCallback, &pass);
    table.reset();
    unread.reset();

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
        StoreLogMessage(msgLogRecoveryRequested, ModuleInstance(), pass.noteStatus);
    return walked;
}

} // namespace tamsel
