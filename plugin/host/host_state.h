// The add-in's own state on the client's user-interface thread.
#pragma once
#include <windows.h>

#include <atomic>

namespace tamsel {

extern std::atomic<bool> addinStarted;  // the initialisation message started indexing
extern std::atomic<HANDLE> indexThread; // cleared only by TamselDesktopTerm

} // namespace tamsel
