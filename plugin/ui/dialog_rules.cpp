#include "dialog_rules.h"

#include "catalogue/catalogue.h"
#include "database_entries.h"
#include "dialog_controls.h"
#include "settings/client_settings.h"
#include "settings/database_list.h"
#include "settings_dialog_ids.h"

#include <windowsx.h>

namespace tamsel {
namespace {

constexpr int dependentControls[] = {IDC_INDEX_ENCRYPTED,  IDC_INDEX_DRAFTS,  IDC_INDEX_ON_IDLE,
                                     IDC_INDEX_DISCUSSION, IDC_INDEX_HISTORY, IDC_DATABASES,
                                     IDC_MINUTES,          IDC_REINDEX_ALL,   IDC_INDEX_EVERY,
                                     IDC_MINUTES_LABEL,    IDC_ADD,           IDC_REMOVE};

struct StoredFlag {
    int control;
    BYTE (*stored)();
};

constexpr StoredFlag storedFlags[] = {
    {IDC_ENABLE, IsIndexingEnabled},      {IDC_INDEX_ENCRYPTED, GetIndexEncrypted},
    {IDC_INDEX_DRAFTS, GetIndexDrafts},   {IDC_INDEX_ON_IDLE, GetIndexOnIdle},
    {IDC_INDEX_HISTORY, GetIndexHistory}, {IDC_INDEX_DISCUSSION, GetIndexDiscussion},
};

bool ListDiffersFromSlots(HWND dialog) {
    const HWND list = GetDlgItem(dialog, IDC_DATABASES);
    const int count = ListBox_GetCount(list);
    if (count != int(configuredCount))
        return true;
    for (int entry = 0; entry < count; ++entry)
        if (EntrySlot(list, entry) < 0)
            return true;
    return false;
}

} // namespace

void ApplyDependentsRule(HWND dialog, bool enabled) {
    for (int control : dependentControls)
        EnableControl(dialog, control, enabled);
    UpdateApplyButton(dialog);
}

void ApplyAddRemoveRule(HWND dialog) {
    const int count = ListBox_GetCount(GetDlgItem(dialog, IDC_DATABASES));
    EnableControl(dialog, IDC_ADD, count >= 0 && count < userSlotCount);
    EnableControl(dialog, IDC_REMOVE, count > 0);
}

DWORD MinutesFieldValue(HWND dialog) {
    char text[19] = "";
    GetDlgItemTextA(dialog, IDC_MINUTES, text, sizeof text);
    // Pasted text may hold anything: only leading digits count, so "-5" is 0, not 2^32 - 5.
    ULONGLONG value = 0;
    for (const char* digit = text; *digit >= '0' && *digit <= '9'; ++digit)
        value = value * 10 + ULONGLONG(*digit - '0');
    return value > MAXDWORD ? MAXDWORD : DWORD(value);
}

bool SettingsChanged(HWND dialog) {
    for (const StoredFlag& flag : storedFlags)
        if (IsChecked(dialog, flag.control) != (flag.stored() != 0))
            return true;
    return MinutesFieldValue(dialog) != GetFrequencyMinutes() || ListDiffersFromSlots(dialog);
}

void UpdateApplyButton(HWND dialog) {
    // The box's own style, not IsWindowVisible: the dialog itself is still hidden while it opens.
    const bool reindexAsked =
        (GetWindowLongA(GetDlgItem(dialog, IDC_REINDEX_ALL), GWL_STYLE) & WS_VISIBLE) &&
        IsChecked(dialog, IDC_REINDEX_ALL);
    EnableControl(dialog, IDC_APPLY, SettingsChanged(dialog) || reindexAsked);
}

void UpdateHelpText(HWND dialog) {
    SetControlText(dialog, IDC_HELP_TEXT,
                   MessageText(IsChecked(dialog, IDC_ENABLE) ? msgDisableNote : msgBlank));
}

} // namespace tamsel
