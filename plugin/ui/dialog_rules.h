// Which of the settings dialog's controls are enabled, and which help text it shows.
#pragma once
#include <windows.h>

namespace tamsel {

// The controls that only matter while indexing is on follow the enable box; then the Apply rule.
void ApplyDependentsRule(HWND dialog, bool enabled);
// Add while fewer than 15 databases are listed, Remove while any is.
void ApplyAddRemoveRule(HWND dialog);
// Something in the dialog differs from what is stored.
bool SettingsChanged(HWND dialog);
// Apply is enabled when something changed, or when a full re-index is asked for.
void UpdateApplyButton(HWND dialog);
void UpdateHelpText(HWND dialog);
// The minutes field's decimal value: its first 18 characters, anything else reads as 0.
DWORD MinutesFieldValue(HWND dialog);

} // namespace tamsel
