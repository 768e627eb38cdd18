#include "database_choice.h"

#include "base/user_interface.h"
#include "catalogue/catalogue.h"
#include "database_entries.h"
#include "dialog_controls.h"
#include "dialog_rules.h"
#include "settings/database_list.h"
#include "settings_dialog_ids.h"

#include <windowsx.h>

#include <cderr.h>
#include <commdlg.h>

#include <string>

namespace tamsel {
namespace {

constexpr DWORD openFileFlags =
    OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NONETWORKBUTTON;
static_assert(openFileFlags == 0x21804);

// The chosen file in the platform code page; empty when none was chosen.
std::string ChooseDatabaseFile(HWND dialog) {
    // The filter's parts are separated by zeros; one more ends the list.
    std::string filter = MessageText(msgOpenFileFilter);
    filter.push_back('\0');
    const std::string title = MessageText(msgOpenFileTitle);
    char file[slotPathLength + 1] = "";
    OPENFILENAMEA choice{};
    choice.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    choice.hwndOwner = dialog;
    choice.lpstrFilter = filter.c_str();
    choice.nFilterIndex = 1;
    choice.lpstrFile = file;
    choice.nMaxFile = sizeof file;
    choice.lpstrTitle = title.c_str();
    choice.Flags = openFileFlags;
    if (userInterface.getOpenFileName(&choice))
        return file;
    // A path longer than a slot holds is refused as an invalid path, not dropped in silence.
    if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL)
        OpenIndexedDatabase(dialog, "", nullptr);
    return {};
}

} // namespace

void AddDatabase(HWND dialog) {
    const std::string file = ChooseDatabaseFile(dialog);
    if (file.empty() || OpenIndexedDatabase(dialog, ClientPath(file).c_str(), nullptr))
        return;
    const HWND list = GetDlgItem(dialog, IDC_DATABASES);
    const LRESULT entry = FindOrAddEntry(list, file);
    if (entry < 0) {
        userInterface.messageBox(dialog, "Error adding file to box", "error", MB_OK);
        return;
    }
    ListBox_SetCurSel(list, int(entry));
    UpdateApplyButton(dialog);
    ApplyAddRemoveRule(dialog);
}

void RemoveSelectedDatabase(HWND dialog) {
    const HWND list = GetDlgItem(dialog, IDC_DATABASES);
    const int selected = ListBox_GetCurSel(list);
    if (selected >= 0) {
        ListBox_DeleteString(list, selected);
        if (ListBox_GetCount(list) > 0)
            ListBox_SetCurSel(list, selected > 0 ? selected - 1 : 0);
        ApplyAddRemoveRule(dialog);
    }
    UpdateApplyButton(dialog);
}

} // namespace tamsel
