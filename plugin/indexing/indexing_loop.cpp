#include "indexing_loop.h"

#include "catalogue/catalogue.h"
#include "clock.h"
#include "database_pass.h"
#include "engine/component_registration.h"
#include "engine/engine_factory.h"
#include "engine_watch.h"
#include "ntamsel.h"
#include "settings/client_settings.h"
#include "settings/database_list.h"
#include "state/thread_flags.h"

namespace tamsel {

LONG rotationSlot = 0;

namespace {

constexpr DWORD minuteMs = 60000;
constexpr DWORD defaultIntervalMs = 300000;
constexpr DWORD longestWaitMs = 6000000;
constexpr DWORD waitStepMs = 1000;
constexpr int userSlots = 15;

void DebugLog(MessageId message) {
    if (IsDebugLogging())
        StoreLogMessage(message, ModuleInstance(), 0);
}

bool CycleInterrupted() {
    return resetRequested || stopRequested;
}

void AbortCycleAt(int position) {
    rotationSlot = position + 1 >= userSlots ? 0 : position + 1;
}

void AdvanceRotation() {
    LONG slot = rotationSlot;
    for (int step = 0; step < userSlots; ++step) {
        slot = (slot + 1) % userSlots;
        if (GetSlotPath(slot, nullptr, 0))
            break;
    }
    rotationSlot = slot;
}

void ClearAllSlotStates() {
    for (int slot = 0; slot <= historySlot; ++slot)
        SaveSlotState(slot, nullptr, nullptr, 0, 0, 0);
}

// The status of the first ready engine, else of the second. Its state is watched on the way.
WORD EngineStatus() {
    const WORD primary = CheckPrimaryEngine();
    const WORD second = (primary & engineReadyBit) ? 0 : CheckSecondEngine();
    WatchEngineState(primary, second);
    if (primary & engineReadyBit)
        return primary;
    return (second & engineReadyBit) ? second : WORD(second | (primary & enginePausedBit));
}

// One cycle over the user's databases from the rotating start, then the history check.
void RunCycle() {
    if (!IsIndexingEnabled()) {
        DebugLog(msgLogLoopNotEnabled);
        return;
    }
    ForgetEngineClassObjects(); // each cycle finds the engines as they are installed now
    if (const WORD engine = EngineStatus(); !(engine & engineReadyBit)) {
        DebugLog(engine & enginePausedBit ? msgLogLoopEnginePaused : msgLogLoopEngineNotReady);
        return;
    }
    if (resetRequested) {
        DebugLog(msgLogResetGiven);
        resetRequested = false;
        ClearAllSlotStates();
    }
    int slot = rotationSlot;
    for (int step = 0; step < userSlots; ++step, slot = (slot + 1) % userSlots) {
        if (CycleInterrupted())
            return AbortCycleAt(slot);
        PassOverSlot(slot, 0);
    }
    const int lastSlot = (slot + userSlots - 1) % userSlots;
    if (CycleInterrupted())
        return AbortCycleAt(lastSlot);
    if (!wakeRequested && indexingClock.tickCount() - lastHistoryCheckTick >= minuteMs) {
        if (GetIndexHistory())
            PassOverSlot(historySlot, 1);
        lastHistoryCheckTick = indexingClock.tickCount();
        if (CycleInterrupted())
            return AbortCycleAt(lastSlot);
    }
    AdvanceRotation();
}

bool ThreadShouldEnd() {
    return stopRequested || StoreTerminationPending();
}

} // namespace

void RunIndexingLoop() {
    DWORD intervalMs = GetFrequencyMinutes() * minuteMs;
    if (intervalMs == 0)
        intervalMs = defaultIntervalMs;
    ForgetEngineState();
    DebugLog(msgLogStartingLoop);
    IdleWait(intervalMs, 0);
    for (;;) {
        wakeRequested = false;
        nextWaitMs = 0;
        if (stopRequested)
            break;
        if (!StoreTerminationPending())
            RunCycle();
        if (ThreadShouldEnd())
            break;
        const DWORD asked = nextWaitMs;
        IdleWait(asked > 0 && asked <= intervalMs ? asked : intervalMs, 0);
    }
    DebugLog(msgLogStoppingLoop);
}

void IdleWait(DWORD milliseconds, BYTE insidePass) {
    const DWORD start = indexingClock.tickCount();
    if (milliseconds > longestWaitMs)
        milliseconds = longestWaitMs;
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_IDLE);
    while (!stopRequested) {
        if (indexingClock.tickCount() - start >= milliseconds)
            break;
        if (insidePass) {
            if (resetRequested)
                break;
        } else {
            if (wakeRequested)
                break;
            PeriodicHistoryCheck();
        }
        if (IsVerboseDebugLogging())
            StoreLogMessage(msgLogSleeping, ModuleInstance(), 0);
        indexingClock.sleep(waitStepMs);
    }
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
}

void IdleYield() {
    // Each priority change is a round trip to the system under Wine, and a pass yields twice
    // a note: once a Windows clock tick (15.6 ms) is enough to let the client run. Wine's
    // tick count moves every millisecond, so the interval is counted, not the tick.
    // Only the indexing thread yields.
    constexpr DWORD yieldIntervalMs = 16;
    static DWORD lastYieldTick = 0;
    static bool yielded = false;
    const DWORD now = indexingClock.tickCount();
    if (yielded && now - lastYieldTick < yieldIntervalMs)
        return;
    yielded = true;
    lastYieldTick = now;
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_IDLE);
    if (!stopRequested && !resetRequested && !wakeRequested)
        indexingClock.sleep(0);
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
}

void PeriodicHistoryCheck() {
    if (stopRequested || resetRequested)
        return;
    if (indexingClock.tickCount() - lastHistoryCheckTick < minuteMs)
        return;
    if (GetIndexHistory())
        PassOverSlot(historySlot, 1);
    lastHistoryCheckTick = indexingClock.tickCount();
}

void WakeIndexer() {
    wakeRequested = true;
}

} // namespace tamsel
