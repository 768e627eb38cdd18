// What the client's user-interface thread and the indexing thread tell each other. Each value
// is written by one side and polled by the other; nothing is locked.
#pragma once
#include <windows.h>

#include <atomic>

namespace tamsel {

extern std::atomic<bool> stopRequested;
extern std::atomic<bool> resetRequested;
extern std::atomic<bool> wakeRequested;
extern std::atomic<DWORD> nextWaitMs; // wait the engine asked for before the next pass
extern std::atomic<DWORD> lastHistoryCheckTick;

} // namespace tamsel
