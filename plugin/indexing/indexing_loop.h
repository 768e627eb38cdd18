// The body of the indexing thread: wait, then index every database of the list, and keep the
// history database current about once a minute.
#pragma once
#include <windows.h>

namespace tamsel {

// The slot with which the next cycle over the database list starts.
extern LONG rotationSlot;

// Returns when the thread is to end: a stop request or the client shutting down.
void RunIndexingLoop();
// Waits at idle priority in one-second steps. Inside a pass a reset ends the wait; between
// passes a wake request does, and the history database is checked.
void IdleWait(DWORD milliseconds, BYTE insidePass);
// Gives up the rest of the time slice at idle priority unless a flag asks for attention; at
// most once a clock tick.
void IdleYield();
// A history pass when a minute has gone by since the last check.
void PeriodicHistoryCheck();
// Ends the current wait so that a pass starts now.
void WakeIndexer();

} // namespace tamsel
