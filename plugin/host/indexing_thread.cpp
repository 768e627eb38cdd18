#include "catalogue/catalogue.h"
#include "catalogue/failure_log.h"
#include "com_result.h"
#include "engine/component_registration.h"
#include "engine/engine_factory.h"
#include "exports.h"
#include "host_state.h"
#include "indexing/clock.h"
#include "indexing/indexing_loop.h"
#include "ntamsel.h"
#include "settings/client_settings.h"
#include "state/index_status.h"
#include "state/thread_flags.h"

#include "unique_resource.h"

#include <objbase.h>

namespace tamsel {

namespace {
// Not 64 KB: the client's own threads leave room for this size.
constexpr SIZE_T indexingThreadStack = 64000;
} // namespace

DWORD WINAPI IndexingThreadMain(void*) {
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
    if (stopRequested) {
        StoreLogMessage(msgLogCannotCreateThread, ModuleInstance(), 0);
        return 0;
    }
    if (const STORESTATUS status = StoreThreadInit()) {
        StoreLogMessage(msgLogCannotCreateThread, ModuleInstance(), status);
        return 0;
    }
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    KeepEngineClassObjects(true);
    RegisterWithPrimaryEngine();
    StoreLogMessage(msgLogStartingIndexing, ModuleInstance(), 0);
    try {
        RunIndexingLoop();
    } catch (...) {
        // The thread still unregisters and releases what it holds, and the log says why
        // indexing stopped.
        LogUnexpectedFailure(com_server::CurrentFailureText());
    }
    UnregisterFromPrimaryEngine();
    KeepEngineClassObjects(false);
    if (SUCCEEDED(com))
        CoUninitialize();
    StoreThreadTerm();
    StoreLogMessage(msgLogStoppingIndexing, ModuleInstance(), 0);
    return 0;
}

} // namespace tamsel

using namespace tamsel;

extern "C" BYTE WINAPI TamselDesktopIndex(void) {
    if (indexThread)
        return 1;
    stopRequested = false;
    resetRequested = false;
    wakeRequested = false;
    nextWaitMs = 0;
    lastHistoryCheckTick = indexingClock.tickCount();
    ClearIndexStatus();
    HANDLE thread =
        CreateThread(nullptr, indexingThreadStack, IndexingThreadMain, nullptr, 0, nullptr);
    indexThread = thread;
    return thread ? 1 : 0;
}

extern "C" BYTE WINAPI TamselDesktopTerm(void) {
    stopRequested = true;
    if (IsDebugLogging())
        StoreLogMessage(msgLogTerminationRequested, ModuleInstance(), 0);
    if (HANDLE thread = indexThread) {
        SetThreadPriority(thread, THREAD_PRIORITY_NORMAL);
        WaitForSingleObject(thread, INFINITE);
        // Cleared only now, so that a start meanwhile finds the thread still there.
        const win32::UniqueHandle ended(indexThread.exchange(nullptr));
    }
    return 1;
}
