#include "note_callback.h"

#include "catalogue/catalogue.h"
#include "convert/convert_note.h"
#include "convert/deletion_notice.h"
#include "database_pass.h"
#include "engine/result_names.h"
#include "idl/engine_results.h"
#include "indexing_loop.h"
#include "settings/client_settings.h"
#include "state/index_status.h"
#include "state/thread_flags.h"
#include "store_owners.h"

namespace tamsel {

NoteHandlers noteHandlers = {ConvertNote, SendDeletionNotice};

namespace {

constexpr DWORD throttleUnitMs = 100;
constexpr DWORD alwaysWaitFromMs = 66;
constexpr DWORD historyCheckEvery = 10;
constexpr DWORD historyCheckAt = 5;

// Keeps the client responsive: with wait time w, about w ms of rest for every converted note.
void Throttle() {
    const DWORD wait = GetWaitTime();
    if (wait == 0)
        return IdleYield();
    if (wait >= alwaysWaitFromMs)
        return IdleWait(wait, 1);
    const DWORD every = throttleUnitMs / wait;
    if (every == 1)
        return IdleWait(wait, 1);
    if (indexStatus.processed % every == 0)
        return IdleWait(every * wait, 1);
    IdleYield();
}

bool WalkMustStop(const PassContext& pass) {
    return !IsIndexingEnabled() || stopRequested || StoreTerminationPending() ||
           (pass.historyPass && !GetIndexHistory());
}

// Too-large documents are skipped; any other engine failure stops the walk.
STORESTATUS EngineFailure(PassContext& pass) {
    ++pass.engineErrorCount;
    STORESTATUS status = STORE_NOERROR;
    if (pass.engineResult == engine_results::E_EVENT_TOO_LARGE ||
        pass.engineResult == engine_results::E_PROPERTY_TOO_LARGE) {
        ++pass.skippedCount;
        pass.engineResult = 0;
    } else {
        pass.stopPass = 1;
        status = walkEngineFailed;
        if (IsDebugLogging())
            StoreLogMessage(msgLogEngineError, ModuleInstance(), status, pass.engineResult,
                            EngineResultName(pass.engineResult));
    }
    return status;
}

STORESTATUS DeletedNote(PassContext& pass, NOTEID id) {
    if (!GetSendDeletions())
        return STORE_NOERROR;
    if (noteHandlers.sendDeletion(pass.database, id & ~STORE_NOTEID_DELETED, &pass)) {
        ++pass.deletedCount;
        return STORE_NOERROR;
    }
    if (pass.engineResult == 0)
        return STORE_NOERROR;
    return EngineFailure(pass);
}

STORESTATUS LiveNote(PassContext& pass, NOTEID id) {
    UniqueNote note;
    if (STORESTATUS status = StoreOpenNote(pass.database, id, 0, note.put())) {
        ++pass.noteErrorCount;
        if (IsDebugLogging())
            StoreLogMessage(msgLogNoteOpenFailed, ModuleInstance(), status, id);
        return STORE_NOERROR;
    }
    if (noteHandlers.convert(note.get(), &pass)) {
        ++pass.indexedCount;
        if (!stopRequested && !resetRequested)
            Throttle();
    } else if (pass.noteStatus != 0) {
        ++(pass.noteStatus == STORE_ERR_STUB ? pass.deletedCount : pass.noteErrorCount);
    } else if (pass.engineResult == 0) {
        ++pass.skippedCount;
    } else {
        return EngineFailure(pass);
    }
    return STORE_NOERROR;
}

// A note below the recovery point that changed after the interrupted walk listed it: that walk
// sent an older version, or none.
bool ChangedSinceInterruption(const PassContext& pass, NOTEID id) {
    STORETIME modified;
    const STORESTATUS status = StoreGetNoteInfoById(pass.database, id & ~STORE_NOTEID_DELETED,
                                                    nullptr, &modified, nullptr);
    return (status == STORE_NOERROR || status == STORE_ERR_STUB) &&
           StoreCompareTimes(&modified, &pass.recoveryUntil) > 0;
}

} // namespace

STORESTATUS WINAPI NoteCallback(void* context, NOTEID id) {
    PassContext& pass = *static_cast<PassContext*>(context);
    if (IsVerboseDebugLogging())
        StoreLogMessage(msgLogIndexingDocument, ModuleInstance(), 0);
    const bool skip =
        pass.recoveryNoteId != 0 && pass.recoveryNoteId > id && !ChangedSinceInterruption(pass, id);
    pass.noteId = id;
    if (!pass.historyPass)
        ++indexStatus.processed;
    indexStatus.historyActive = pass.historyPass;
    if (resetRequested)
        return walkStopped;
    // A database taken off the list, or replaced in its slot, ends its walk. The pass's own
    // slot: the progress record names the user's database, which a history pass is not.
    if (!SlotHolds(pass.slot, pass.path))
        return walkStopped;
    if (WalkMustStop(pass)) {
        pass.stopPass = 1;
        return walkStopped;
    }
    if (skip)
        return STORE_NOERROR;
    if (!pass.historyPass && indexStatus.processed % historyCheckEvery == historyCheckAt)
        PeriodicHistoryCheck();
    IdleYield();
    if (id & STORE_NOTEID_DELETED)
        return DeletedNote(pass, id);
    return LiveNote(pass, id);
}

} // namespace tamsel
