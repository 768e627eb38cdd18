// --dialog: what a headless run does with the dialog that the menu command opens, as a list of
// actions separated by commas, done in order by the box watcher. The actions are the commands of
// the table in dialog_script.cpp, which `nltamsel --help` lists (DialogScriptHelp).
// A control is named as in the settings dialog's ids header (plugin/ui/settings_dialog_ids.h), or
// as one of the standard buttons (IDOK, IDCANCEL, ...); a control without a name by its number.
// Example: --dialog "check IDC_ENABLE, answer yes, click IDC_ADD, file C:\data\mail.zrb,
// click IDC_OK".
// A dialog still open when the actions are done is answered like any other box.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nltamsel {

// Finds the next box the dialog shows: a dialog of the process that is neither the given one
// nor one seen before; null after the given time.
using BoxFinder = std::function<HWND(HWND dialog, DWORD milliseconds)>;

// What an action is done on: the scripted dialog, and the boxes it shows.
struct ScriptTarget {
    HWND dialog;
    const BoxFinder& next;
};

struct DialogAction;

// What follows a command's name in the script.
enum class Operands {
    control,      // ID
    controlText,  // ID TEXT, the text up to the next comma (may be empty)
    controlEntry, // ID N, a list entry from 0
    answer,       // WORD, a box's button
    path,         // PATH
    milliseconds, // MS
};

// A command of the script: its name, its operands, what it does (false when it cannot) and its
// line of the help. Parsing, running and the help are all made from the one table of them.
struct DialogCommand {
    std::string_view name;
    Operands operands;
    bool (*run)(const ScriptTarget& target, const DialogAction& action);
    std::string_view help;
};

struct DialogAction {
    const DialogCommand* command = nullptr;
    std::string written;     // the action as the script has it, for the log
    int control = 0;         // the control's id
    std::string controlName; // the control as the script names it, for the log
    std::string text;        // the typed or awaited text, the answer word or the path
    int entry = 0;           // the list entry
    DWORD milliseconds = 0;  // how long to pause
};

// Empty with an error text, naming the action and what is wrong with it, when an action is not
// understood.
std::optional<std::vector<DialogAction>> ParseDialogScript(const std::string& script,
                                                           std::string& error);

// The actions a script may take, a line each, for the client's usage text.
std::string DialogScriptHelp();

// Does the actions on the dialog; false (and logged) at the first one that cannot be done.
bool RunDialogScript(HWND dialog, const std::vector<DialogAction>& actions, const BoxFinder& next);

} // namespace nltamsel
