#include "database_pass.h"

#include "catalogue/catalogue.h"
#include "convert/deletion_notice.h"
#include "convert/document_url.h"
#include "convert/engine_date.h"
#include "idl/engine_results.h"
#include "indexing_loop.h"
#include "note_callback.h"
#include "settings/client_settings.h"
#include "settings/index_type_mask.h"
#include "state/index_status.h"
#include "state/thread_flags.h"
#include "store_owners.h"

namespace tamsel {
namespace {

constexpr WORD documentClass = STORE_NOTECLASS_DOCUMENT;
constexpr WORD userNameSize = 256;
constexpr double clockSkewDays = 10.0 / (24 * 60);

BYTE& OpenErrorFlag(int slot, BYTE historyPass) {
    return historyPass ? historyOpenErrorReported : openErrorReported[slot];
}

// The first failure of a database is always logged, repeated ones only in debug mode.
void LogOpenFailure(int slot, BYTE historyPass, bool unreported, MessageId message,
                    STORESTATUS status, const char* path) {
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
    // Skipped notes are counted so that documents the engine refused can be told from ones
    // never sent; in a history pass every note is skipped, which says nothing.
    const bool skipped = pass.skippedCount != 0 && !pass.historyPass;
    if (pass.engineResult != 0 && pass.engineResult != engine_results::E_SEND_DELAYED &&
        pass.engineResult != engine_results::S_INDEXING_PAUSED) {
        if (skipped)
            StoreLogMessage(msgLogPassSummaryFailedSkipped, module, 0, path, pass.indexedCount,
                            pass.skippedCount, pass.engineResult);
        else
            StoreLogMessage(msgLogPassSummaryFailed, module, 0, path, pass.indexedCount,
                            pass.engineResult);
        return;
    }
    const STORESTATUS status = pass.noteStatus == walkStopped ? 0 : pass.noteStatus;
    if (skipped)
        StoreLogMessage(msgLogPassSummarySkipped, module, status, path, pass.indexedCount,
                        pass.skippedCount);
    else if (!pass.historyPass && pass.indexedCount > 0)
        StoreLogMessage(msgLogPassSummary, module, status, path, pass.indexedCount);
}

bool IsEarliest(const STORETIME& time) {
    STORETIME earliest;
    StoreSetTimeConstant(STORE_TIME_EARLIEST, &earliest);
    return StoreCompareTimes(&time, &earliest) == 0;
}

STORESTATUS WINAPI KeepHighest(void* context, NOTEID id) {
    NOTEID& highest = *static_cast<NOTEID*>(context);
    if (id > highest)
        highest = id;
    return STORE_NOERROR;
}

NOTEID HighestId(IDTABLEHANDLE table) {
    NOTEID highest = 0;
    StoreIdTableEnumerate(table, KeepHighest, &highest);
    return highest;
}

void LogRecoveryDiscarded(int slot, const STORETIME* until, NOTEID noteId) {
    char path[slotPathLength + 1];
    GetSlotPath(slot, path, sizeof path);
    StoreLogMessage(msgLogRecoveryDiscarded, ModuleInstance(), 0, path, until, noteId);
}

// A database that was never written has no modification time.
bool IsUnset(const STORETIME& time) {
    return time.timeOfDay == 0 || time.dayNumber == 0;
}

// Later than the database's latest change, beyond what clocks that disagree could explain.
bool IsBeyond(const STORETIME& time, const STORETIME& latest) {
    const auto date = ToEngineDate(time), latestDate = ToEngineDate(latest);
    return date && latestDate && *date > *latestDate + clockSkewDays;
}

// The progress record follows the user's databases; a history pass only clears its own flag.
void StartProgress(int slot, BYTE historyPass) {
    if (!historyPass) {
        indexStatus.currentSlot = slot;
        indexStatus.total = 0;
        indexStatus.processed = 0;
        indexStatus.resumePending = 0;
    }
    indexStatus.historyActive = 0;
}

// A state the settings file refused is said always: otherwise every start indexes everything
// again without a word. Only what was saved counts as up to date.
bool SaveState(int slot, const STORETIME* lastIndexed, const STORETIME* until, NOTEID noteId,
               LONG processed, LONG total) {
    const STORESTATUS saved = SaveSlotState(slot, lastIndexed, until, noteId, processed, total);
    if (saved == STORE_NOERROR)
        return true;
    char path[slotPathLength + 1];
    GetSlotPath(slot, path, sizeof path);
    StoreLogMessage(msgLogSlotStateNotSaved, ModuleInstance(), saved, path);
    return false;
}

STORESTATUS NothingModified(int slot, STORETIME* until, BYTE historyPass) {
    const bool saved = SaveState(slot, until, nullptr, 0, 0, 0);
    if (IsDebugLogging())
        StoreLogMessage(msgLogNoModifiedNotes, ModuleInstance(), 0);
    if (!historyPass) {
        indexStatus.passRunning = 0;
        indexStatus.upToDate = saved;
    }
    return STORE_NOERROR;
}

// Every note of the table through the note callback; the tables are freed before the summary.
STORESTATUS Walk(UniqueIdTable& table, PassContext& pass) {
    if (!pass.historyPass) {
        indexStatus.passRunning = 1;
        indexStatus.upToDate = 0;
        indexStatus.total = StoreIdTableCount(table.get());
        indexStatus.resumePending = pass.recoveryNoteId != 0;
    }
    UniqueIdTable unread;
    if (!pass.historyPass)
        unread = UnreadTable(pass.database);
    pass.unreadTable = unread.get();
    const STORESTATUS walked = StoreIdTableEnumerate(table.get(), NoteCallback, &pass);
    pass.unreadTable = 0;
    table.reset();
    return walked;
}

void FinishWalk(int slot, const PassContext& pass) {
    LogSummary(slot, pass);
    if (!pass.historyPass)
        indexStatus.passRunning = 0;
    if (pass.engineResult == engine_results::E_SEND_DELAYED) {
        nextWaitMs = pass.sendCookie;
        CountSendDelayed();
    } else {
        nextWaitMs = 0;
    }
    indexStatus.historyActive = 0;
}

// A walk to the end records how far the database is indexed; a stopped one its recovery point.
STORESTATUS SaveOutcome(int slot, const PassContext& pass, STORESTATUS walked,
                        const STORETIME* since, STORETIME* until) {
    const bool userPass = !pass.historyPass;
    // A slot given to another database meanwhile keeps nothing of this one.
    if (GetSlotPath(slot, nullptr, 0) && !SlotHolds(slot, pass.path))
        return walked;
    if (!pass.stopPass) {
        const bool saved =
            SaveState(slot, walked == STORE_NOERROR ? until : since, nullptr, 0, 0, 0);
        if (userPass) {
            indexStatus.resumePending = 0;
            indexStatus.upToDate = walked == STORE_NOERROR && saved;
        }
        return walked;
    }
    SaveState(slot, since, until, pass.noteId, userPass ? LONG(indexStatus.processed) : 0,
              userPass ? LONG(indexStatus.total) : 0);
    if (userPass)
        indexStatus.resumePending = 1;
    if (IsDebugLogging())
        StoreLogMessage(msgLogRecoveryRequested, ModuleInstance(), pass.noteStatus);
    return walked;
}

// Another database at the slot's path than the one indexed there (a file replaced by another
// database): the time stamp says nothing about its notes, and the documents of the one before
// point at notes no database holds any more. False while they cannot be removed yet; the
// pass waits for the next cycle rather than leave them.
bool FollowDatabase(int slot, DBHANDLE database, const char* path, BYTE historyPass) {
    const std::string replica = DatabaseReplicaText(database);
    const std::string known = GetSlotReplica(slot);
    if (replica.empty() || replica == known)
        return true;
    if (!known.empty()) {
        StoreLogMessage(msgLogDatabaseReplaced, ModuleInstance(), 0, path, replica.c_str(),
                        known.c_str());
        SaveState(slot, nullptr, nullptr, 0, 0, 0);
        // The history database's notes are never documents of their own.
        if (!historyPass && !RemoveDatabaseDocuments(known))
            return false;
    }
    SetSlotReplica(slot, replica);
    return true;
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
    if (!database || !FollowDatabase(slot, database.get(), path, historyPass))
        return;

    STORETIME since, until, latest;
    GetLastIndexed(slot, &since);
    const STORESTATUS latestRead = StoreGetDatabaseModifiedTime(database.get(), &latest, nullptr);
    const bool latestKnown = latestRead == STORE_NOERROR && !IsUnset(latest);
    // A time stamp no pass over this database could have stored would hide every change
    // until that time: the database is indexed anew.
    if (latestKnown && IsBeyond(since, latest)) {
        StoreLogMessage(msgLogTimeStampAhead, ModuleInstance(), 0, path, &since, &latest);
        StoreSetTimeConstant(STORE_TIME_EARLIEST, &since);
    }
    NOTEID recoveryNoteId = 0;
    if (GetResumePoint(slot, &until, &recoveryNoteId)) {
        if (!latestKnown || !IsBeyond(until, latest))
            return void(PassOverDatabase(slot, database.get(), &since, &until, recoveryNoteId,
                                         historyPass));
        LogRecoveryDiscarded(slot, &until, recoveryNoteId);
    }
    if (latestRead != STORE_NOERROR)
        return LogOpenFailure(slot, historyPass, unreported, msgLogModifiedTimeFailed, latestRead,
                              path);
    until = latest;
    if (IsUnset(until))
        StoreCurrentTime(&until);
    PassOverDatabase(slot, database.get(), &since, &until, 0, historyPass);
}

STORESTATUS PassOverDatabase(int slot, DBHANDLE database, const STORETIME* since, STORETIME* until,
                             NOTEID recoveryNoteId, BYTE historyPass) {
    IdleYield();
    // The listing moves the until-time on to now: what the interrupted walk covered ends here.
    const STORETIME recoveryUntil = *until;
    UniqueIdTable table;
    const STORESTATUS listed =
        StoreGetModifiedNoteTable(database, documentClass, *since, until, table.put());
    if (IsDebugLogging())
        StoreLogMessage(msgLogStartingDatabase, ModuleInstance(), 0, since, until, recoveryNoteId);
    StartProgress(slot, historyPass);
    if (listed == STORE_ERR_NOT_MODIFIED)
        return NothingModified(slot, until, historyPass);
    if (listed != STORE_NOERROR) {
        StoreLogMessage(msgLogChangeListFailed, ModuleInstance(), listed);
        return listed;
    }

    // A recovery point above every listed change would skip them all.
    if (recoveryNoteId != 0 && recoveryNoteId > HighestId(table.get())) {
        LogRecoveryDiscarded(slot, until, recoveryNoteId);
        recoveryNoteId = 0;
    }
    char path[slotPathLength + 1];
    GetSlotPath(slot, path, sizeof path);
    PassContext pass{};
    pass.database = database;
    pass.path = path;
    pass.recoveryNoteId = recoveryNoteId;
    pass.recoveryUntil = recoveryUntil;
    pass.initialPass = IsEarliest(*since);
    pass.historyPass = historyPass;
    pass.slot = slot;
    const STORESTATUS walked = Walk(table, pass);
    FinishWalk(slot, pass);
    return SaveOutcome(slot, pass, walked, since, until);
}

} // namespace tamsel
