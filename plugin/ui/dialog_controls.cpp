#include "dialog_controls.h"

#include "base/user_interface.h"
#include "catalogue/catalogue.h"

#include <cstdio>

namespace tamsel {

std::string StatusLine(std::string text) {
    if (text.size() > fixedMessageSize - 1)
        text.resize(fixedMessageSize - 1);
    return text;
}

std::string ProgressText(MessageId id, DWORD processed, DWORD total) {
    const DWORD shownTotal = total ? total : processed;
    // Nothing processed of nothing reads as 0 %.
    const DWORD percent = shownTotal ? DWORD(ULONGLONG(processed) * 100 / shownTotal) : 0;
    char text[fixedMessageSize];
    std::snprintf(text, sizeof text, MessageText(id).c_str(), int(processed), int(shownTotal),
                  int(percent));
    return text;
}

bool IsChecked(HWND dialog, int control) {
    return IsDlgButtonChecked(dialog, control) == BST_CHECKED;
}

void CheckControl(HWND dialog, int control, bool checked) {
    CheckDlgButton(dialog, control, checked ? BST_CHECKED : BST_UNCHECKED);
}

void EnableControl(HWND dialog, int control, bool enabled) {
    EnableWindow(GetDlgItem(dialog, control), enabled);
}

void ShowControl(HWND dialog, int control, bool shown) {
    ShowWindow(GetDlgItem(dialog, control), shown ? SW_SHOWNA : SW_HIDE);
}

void SetControlText(HWND dialog, int control, const std::string& text) {
    SetDlgItemTextA(dialog, control, text.c_str());
}

int AskUser(HWND dialog, MessageId text, MessageId caption, UINT type) {
    return userInterface.messageBox(dialog, MessageText(text).c_str(), MessageText(caption).c_str(),
                                    type);
}

} // namespace tamsel
