#include "settings_dialog.h"

#include "apply_settings.h"
#include "base/user_interface.h"
#include "catalogue/catalogue.h"
#include "catalogue/failure_log.h"
#include "com_result.h"
#include "database_choice.h"
#include "database_entries.h"
#include "dialog_controls.h"
#include "dialog_rules.h"
#include "indexing/indexing_loop.h"
#include "settings/client_settings.h"
#include "settings_dialog_ids.h"
#include "status_lines.h"

#include <windowsx.h>

#include <atomic>

namespace tamsel {
namespace {

constexpr UINT refreshPeriodMs = 1000;

// Two dialogs would each store their own list over the other's.
std::atomic<HWND> openDialog{nullptr};

struct ControlText {
    int control;
    MessageId message;
};

constexpr ControlText controlTexts[] = {
    {IDC_INTRODUCTION, msgDialogIntroduction},
    {IDC_ENABLE, msgDialogEnable},
    {IDC_INDEX_HISTORY, msgDialogIndexHistory},
    {IDC_INDEX_DISCUSSION, msgDialogIndexDiscussion},
    {IDC_ADD, msgDialogAdd},
    {IDC_REMOVE, msgDialogRemove},
    {IDC_INDEX_ENCRYPTED, msgDialogIndexEncrypted},
    {IDC_INDEX_DRAFTS, msgDialogIndexDrafts},
    {IDC_INDEX_ON_IDLE, msgDialogIndexOnIdle},
    {IDC_REINDEX_ALL, msgDialogReindexAll},
    {IDC_INDEX_EVERY, msgDialogIndexEvery},
    {IDC_MINUTES_LABEL, msgDialogMinutes},
    {IDC_ABOUT, msgDialogAbout},
    {IDC_OK, msgDialogOk},
    {IDC_CANCEL, msgDialogCancel},
    {IDC_APPLY, msgDialogApply},
};

// Controls that would change a stored setting; an administrator's lock disables them all.
constexpr int editingControls[] = {IDC_ENABLE,        IDC_INDEX_ENCRYPTED,  IDC_INDEX_DRAFTS,
                                   IDC_INDEX_ON_IDLE, IDC_REINDEX_ALL,      IDC_MINUTES,
                                   IDC_INDEX_HISTORY, IDC_INDEX_DISCUSSION, IDC_APPLY};

struct StoredBox {
    int control;
    BYTE (*stored)();
};

constexpr StoredBox storedBoxes[] = {
    {IDC_INDEX_ENCRYPTED, GetIndexEncrypted}, {IDC_INDEX_ON_IDLE, GetIndexOnIdle},
    {IDC_INDEX_DRAFTS, GetIndexDrafts},       {IDC_INDEX_DISCUSSION, GetIndexDiscussion},
    {IDC_INDEX_HISTORY, GetIndexHistory},
};

void OnOpen(HWND dialog) {
    const bool locked = IsSettingsLocked();
    if (locked) {
        ShowControl(dialog, IDC_ADD, false);
        ShowControl(dialog, IDC_REMOVE, false);
    }
    SetWindowTextA(dialog, MessageText(msgDialogCaption).c_str());
    for (const ControlText& text : controlTexts)
        SetControlText(dialog, text.control, MessageText(text.message));
    WakeIndexer();
    CheckControl(dialog, IDC_ENABLE, GetJustRegistered() || IsIndexingEnabled());
    const HWND list = GetDlgItem(dialog, IDC_DATABASES);
    ListConfiguredDatabases(list);
    if (configuredCount > 0) {
        EnableControl(dialog, IDC_APPLY, false);
        ListBox_SetCurSel(list, 0);
    } else {
        ProposeDefaultDatabases(list);
    }
    for (const StoredBox& box : storedBoxes)
        CheckControl(dialog, box.control, box.stored() != 0);
    SetDlgItemInt(dialog, IDC_MINUTES, GetFrequencyMinutes(), FALSE);
    SendDlgItemMessageA(dialog, IDC_MINUTES, EM_LIMITTEXT, 2, 0);
    ApplyDependentsRule(dialog, IsChecked(dialog, IDC_ENABLE));
    UpdateHelpText(dialog);
    ApplyAddRemoveRule(dialog);
    RefreshStatus(dialog);
    if (locked)
        for (int control : editingControls)
            EnableControl(dialog, control, false);
    SetTimer(dialog, IDT_STATUS_REFRESH, refreshPeriodMs, nullptr);
}

void OnEnableClicked(HWND dialog) {
    if (IsChecked(dialog, IDC_ENABLE)) {
        const bool consented = GetBuildVariant() || GetSkipLegal() ||
                               AskUser(dialog, msgConsentQuestion, msgConsentCaption,
                                       MB_ICONEXCLAMATION | MB_YESNO | MB_DEFBUTTON2) == IDYES;
        if (!consented)
            CheckControl(dialog, IDC_ENABLE, false);
        ApplyDependentsRule(dialog, consented);
        if (consented)
            ApplyAddRemoveRule(dialog);
    } else {
        ApplyDependentsRule(dialog, false);
    }
    UpdateHelpText(dialog);
    RefreshStatus(dialog);
}

// OK and Apply; a locked configuration is never stored.
void OnStore(HWND dialog, int command) {
    if (!IsSettingsLocked() && !StoreDialogSettings(dialog))
        return;
    if (command == IDC_OK) {
        EndDialog(dialog, IDC_OK);
        return;
    }
    CheckControl(dialog, IDC_REINDEX_ALL, false);
    EnableControl(dialog, IDC_APPLY, false);
    ApplyAddRemoveRule(dialog);
}

void OnCommand(HWND dialog, int control) {
    switch (control) {
    case IDC_ENABLE:
        OnEnableClicked(dialog);
        break;
    case IDC_ADD:
        AddDatabase(dialog);
        break;
    case IDC_REMOVE:
        RemoveSelectedDatabase(dialog);
        break;
    case IDC_INDEX_ENCRYPTED:
    case IDC_INDEX_DRAFTS:
    case IDC_REINDEX_ALL:
    case IDC_INDEX_ON_IDLE:
    case IDC_INDEX_HISTORY:
    case IDC_INDEX_DISCUSSION:
    case IDC_MINUTES:
        UpdateApplyButton(dialog);
        break;
    case IDC_DATABASES:
        RefreshStatus(dialog);
        UpdateApplyButton(dialog);
        break;
    case IDC_ABOUT:
        AskUser(dialog, msgAboutText, msgAboutCaption, MB_ICONINFORMATION | MB_OK);
        break;
    case IDC_OK:
    case IDC_APPLY:
        OnStore(dialog, control);
        break;
    case IDC_CANCEL:
    case IDCANCEL:
        EndDialog(dialog, control);
        break;
    default:
        break;
    }
}

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    try {
        switch (message) {
        case WM_INITDIALOG:
            openDialog = dialog;
            OnOpen(dialog);
            return FALSE; // the dialog sets no focus of its own
        case WM_COMMAND:
            OnCommand(dialog, LOWORD(wParam));
            return TRUE;
        case WM_TIMER:
            if (wParam != IDT_STATUS_REFRESH)
                return FALSE;
            RefreshStatus(dialog);
            return TRUE;
        default:
            return FALSE;
        }
    } catch (...) {
        // Nothing may escape into the client's message loop; the dialog stays as it was.
        LogUnexpectedFailure(com_server::CurrentFailureText());
        return TRUE;
    }
}

} // namespace

void ShowSettingsDialog(HWND owner) {
    if (const HWND open = openDialog; open && IsWindow(open)) {
        SetForegroundWindow(open);
        return;
    }
    userInterface.dialogBoxParam(ModuleInstance(), MAKEINTRESOURCEA(IDD_SETTINGS), owner,
                                 SettingsDialogProc, 0);
    openDialog = nullptr;
}

} // namespace tamsel
