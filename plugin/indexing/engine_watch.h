// The engines' state in the client's log and for the settings dialog: said when indexing
// starts to wait for an engine and when it goes on, whatever the debug settings, so that a
// search that finds nothing can be explained from the log alone.
#pragma once
#include <windows.h>

namespace tamsel {

// At the start of the indexing thread: the next state that is not ready is said again.
void ForgetEngineState();
// Takes the state the component checks' words tell (the second word counts only when the
// primary is not ready) and logs it when it differs from the last one.
void WatchEngineState(WORD primary, WORD second);

} // namespace tamsel
