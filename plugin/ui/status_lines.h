// The dialog's three status lines: the selected database, and the database being processed
// with its progress, or why nothing is indexed while the engine is not ready. Built from one
// copy of the progress record and of the engine's state, never waiting on the indexing thread.
#pragma once
#include <windows.h>

namespace tamsel {

void RefreshStatus(HWND dialog);

} // namespace tamsel
