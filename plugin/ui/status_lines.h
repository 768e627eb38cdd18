// The dialog's three status lines: the selected database, and the database being processed
// with its progress. Built from one copy of the progress record, never waiting on the
// indexing thread.
#pragma once
#include <windows.h>

namespace tamsel {

void RefreshStatus(HWND dialog);

} // namespace tamsel
