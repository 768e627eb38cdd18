// The client's main window: an Actions menu with the add-ins' items.
#pragma once
#include "addins.h"

#include <windows.h>

namespace nltamsel {

// Creates the window; null when no window can be created.
HWND CreateMainWindow(AddInHost& host);

} // namespace nltamsel
