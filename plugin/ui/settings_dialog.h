// The plug-in's one window: the modal settings dialog of the add-in's menu command.
#pragma once
#include <windows.h>

namespace tamsel {

// Runs the dialog owned by the given window and returns when it closes. While it is open a
// second call only brings it to the front.
void ShowSettingsDialog(HWND owner);

} // namespace tamsel
