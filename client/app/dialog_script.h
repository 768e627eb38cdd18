// --dialog: what a headless run does with the dialog that the menu command opens, as a list of
// actions separated by commas, done in order by the box watcher:
//   check ID / uncheck ID   set a check box by clicking it (when it is not so already)
//   click ID                click a button once it is enabled
//   type ID TEXT            replace a field's text by typing TEXT
//   select ID N             choose entry N (from 0) of a list
//   answer WORD             answer the next box with ok, cancel, yes, no, retry, abort or ignore
//   file PATH               choose PATH in the next open-file dialog
//   wait ID TEXT            wait (up to two minutes) until the control shows a text that starts
//                           with TEXT
//   log ID                  write the control's text to the client's log
//   pause MS                leave the dialog as it is for MS milliseconds
// Example: --dialog "check 201, answer yes, click 239, file C:\data\mail.zrb, click 1".
// A dialog still open when the actions are done is answered like any other box.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace nltamsel {

struct DialogAction {
    std::string verb;
    int control = 0;  // the control id; for pause, the milliseconds
    std::string text; // the typed text, answer word, path or awaited text
};

// Empty with an error text when an action is not understood.
std::optional<std::vector<DialogAction>> ParseDialogScript(const std::string& script,
                                                           std::string& error);

// Finds the next box the dialog shows: a dialog of the process that is neither the given one
// nor one seen before; null after the given time.
using BoxFinder = std::function<HWND(HWND dialog, DWORD milliseconds)>;

// Does the actions on the dialog; false (and logged) at the first one that cannot be done.
bool RunDialogScript(HWND dialog, const std::vector<DialogAction>& actions, const BoxFinder& next);

} // namespace nltamsel
