// What a user does to a dialog, done from another thread with window messages: the moves that
// the client's --dialog scripts and the tests' dialog driver share. Texts are in the caller's code
// page: CP_UTF8 for the client, whose texts are UTF-8, CP_ACP for the driver, as for the plug-in.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace dialog_moves {

// Asks the condition every pollMs until it holds (true) or the time is up (false); INFINITE
// waits for as long as it takes.
template <typename Condition>
bool WaitUntil(DWORD milliseconds, DWORD pollMs, Condition condition) {
    for (DWORD waited = 0;; waited += pollMs) {
        if (condition())
            return true;
        if (milliseconds != INFINITE && waited >= milliseconds)
            return false;
        Sleep(pollMs);
    }
}

// A dialog, or a box that one shows (window class "#32770").
bool IsDialog(HWND window);
// Shown and enabled: what a user can click or type into.
bool IsUsable(HWND control);
bool IsChecked(HWND button);

// Sent, a click returns when the dialog has done what it does; posted, at once, which a click
// that shows a box needs (the box's own loop runs until someone answers it).
enum class Delivery { send, post };
// Clicks a button or check box; false, doing nothing, when it is hidden or disabled.
bool Click(HWND control, Delivery delivery);
// Replaces an edit field's text key by key, as typing does.
void TypeText(HWND field, std::string_view text, UINT codePage);
// Chooses entry `entry` (from 0) of a list box as a click on it would, telling the dialog; false
// when the list has no such entry.
bool SelectEntry(HWND dialog, int list, int entry);

// Presses a box's button as a click on it would, and returns at once.
void PressButton(HWND box, int button);
// Presses a box's button and waits up to the given time for the box to close.
bool AnswerBox(HWND box, int button, DWORD milliseconds);
// Writes the path into an open-file dialog's name field (an edit in the old dialog, a combo box
// in the explorer one), confirms it and waits up to the given time for the dialog to close.
bool ChooseFile(HWND box, std::string_view path, UINT codePage, DWORD milliseconds);
// Returns once the dialog's thread has handled what was sent to it before; it handles sent
// messages before posted ones, so what was posted needs a moment first. False on timeout.
bool Settle(HWND dialog, DWORD milliseconds);

std::string WindowText(HWND window, UINT codePage);
// The texts of a dialog's static controls, which for a message box is its message; the icon
// beside it has none.
std::string StaticTexts(HWND dialog, std::string_view separator, UINT codePage);

} // namespace dialog_moves
