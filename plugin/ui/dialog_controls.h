// Small helpers over the settings dialog's controls and the catalogue texts it shows.
#pragma once
#include "catalogue/message_ids.h"

#include <windows.h>

#include <string>

namespace tamsel {

// Status lines hold at most 255 characters.
std::string StatusLine(std::string text);
// A catalogue message formatted with processed, total and their percentage.
std::string ProgressText(MessageId id, DWORD processed, DWORD total);

bool IsChecked(HWND dialog, int control);
void CheckControl(HWND dialog, int control, bool checked);
void EnableControl(HWND dialog, int control, bool enabled);
void ShowControl(HWND dialog, int control, bool shown);
void SetControlText(HWND dialog, int control, const std::string& text);
// A message box owned by the dialog, its text and caption from the catalogue.
int AskUser(HWND dialog, MessageId text, MessageId caption, UINT type);

} // namespace tamsel
