// The plug-in's settings dialog, run modally from the menu command.
#pragma once
#include <windows.h>

namespace tamsel {

void ShowSettingsDialog(HWND owner);

} // namespace tamsel
