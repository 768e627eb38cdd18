#include "dialog_script.h"

#include "box_watcher.h"
#include "client_messages.h"
#include "dialog_moves.h"
#include "ntamsel.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <tuple>
#include <type_traits>

namespace nltamsel {
namespace {

constexpr DWORD actionWaitMs = 10000;
constexpr DWORD textWaitMs = 120000;
constexpr DWORD pollMs = 50;
constexpr size_t helpColumn = 18;
constexpr size_t helpWidth = 96;

struct NamedControl {
    std::string_view name;
    int id;
};

// The controls a script may name: each of the settings dialog's by its name in the ids header
// (CMake lists them from it), and the standard buttons of dialogs and message boxes.
#define NAMED_ID(name, value) {#name, value},
#define NAMED_CONTROL(id) {#id, id},
// clang-format off
constexpr NamedControl namedControls[] = {
#include "settings_dialog_controls.inc"
    NAMED_CONTROL(IDOK) NAMED_CONTROL(IDCANCEL) NAMED_CONTROL(IDYES) NAMED_CONTROL(IDNO)
    NAMED_CONTROL(IDRETRY) NAMED_CONTROL(IDABORT) NAMED_CONTROL(IDIGNORE)
};
// clang-format on
#undef NAMED_CONTROL
#undef NAMED_ID

// The client's texts are UTF-8.
std::string ControlText(HWND control) {
    return dialog_moves::WindowText(control, CP_UTF8);
}

// Waits until the dialog's thread has dealt with what was posted to it.
void Settle(HWND dialog) {
    Sleep(pollMs);
    dialog_moves::Settle(dialog, actionWaitMs);
}

HWND Control(const ScriptTarget& target, const DialogAction& action) {
    return GetDlgItem(target.dialog, action.control);
}

bool ClickWhenUsable(HWND dialog, HWND control) {
    if (!dialog_moves::WaitUntil(actionWaitMs, pollMs,
                                 [&] { return dialog_moves::IsUsable(control); }))
        return false;
    dialog_moves::Click(control, dialog_moves::Delivery::post);
    Settle(dialog);
    return true;
}

bool SetCheck(const ScriptTarget& target, const DialogAction& action, bool wanted) {
    const HWND control = Control(target, action);
    return dialog_moves::IsChecked(control) == wanted || ClickWhenUsable(target.dialog, control);
}

bool Check(const ScriptTarget& target, const DialogAction& action) {
    return SetCheck(target, action, true);
}

bool Uncheck(const ScriptTarget& target, const DialogAction& action) {
    return SetCheck(target, action, false);
}

bool ClickButton(const ScriptTarget& target, const DialogAction& action) {
    return ClickWhenUsable(target.dialog, Control(target, action));
}

bool Type(const ScriptTarget& target, const DialogAction& action) {
    const HWND control = Control(target, action);
    dialog_moves::TypeText(control, action.text, CP_UTF8);
    return control != nullptr;
}

bool Select(const ScriptTarget& target, const DialogAction& action) {
    return dialog_moves::SelectEntry(target.dialog, action.control, action.entry);
}

bool WaitForText(const ScriptTarget& target, const DialogAction& action) {
    const HWND control = Control(target, action);
    return dialog_moves::WaitUntil(textWaitMs, pollMs, [&] {
        return IsWindowVisible(control) && ControlText(control).rfind(action.text, 0) == 0;
    });
}

bool Log(const ScriptTarget& target, const DialogAction& action) {
    const HWND control = Control(target, action);
    StoreLogMessage(msgDialogControl, GetModuleHandleW(nullptr), 0, action.controlName.c_str(),
                    ControlText(control).c_str());
    return control != nullptr;
}

bool Pause(const ScriptTarget&, const DialogAction& action) {
    Sleep(action.milliseconds);
    return true;
}

bool Answer(const ScriptTarget& target, const DialogAction& action) {
    const HWND box = target.next(target.dialog, actionWaitMs);
    if (!box)
        return false;
    StoreLogMessage(msgBoxShown, GetModuleHandleW(nullptr), 0, ControlText(box).c_str(), "");
    const bool closed = dialog_moves::AnswerBox(box, ButtonForAnswer(action.text), actionWaitMs);
    Settle(target.dialog);
    return closed;
}

bool ChooseFile(const ScriptTarget& target, const DialogAction& action) {
    const HWND box = target.next(target.dialog, actionWaitMs);
    if (!box)
        return false;
    const bool closed = dialog_moves::ChooseFile(box, action.text, CP_UTF8, actionWaitMs);
    Settle(target.dialog);
    return closed;
}

// clang-format off
constexpr DialogCommand commands[] = {
    {"check", Operands::control, Check,
     "set a check box by clicking it (when it is not so already)"},
    {"uncheck", Operands::control, Uncheck,
     "clear a check box by clicking it (when it is checked)"},
    {"click", Operands::control, ClickButton, "click a button once it is enabled"},
    {"type", Operands::controlText, Type, "replace a field's text by typing TEXT"},
    {"select", Operands::controlEntry, Select, "choose entry N (from 0) of a list"},
    {"wait", Operands::controlText, WaitForText,
     "wait (up to two minutes) until the control shows a text that starts with TEXT"},
    {"log", Operands::control, Log, "write the control's text to the client's log"},
    {"pause", Operands::milliseconds, Pause, "leave the dialog as it is for MS milliseconds"},
    {"answer", Operands::answer, Answer,
     "answer the next box with ok, cancel, yes, no, retry, abort or ignore"},
    {"file", Operands::path, ChooseFile, "choose PATH in the next open-file dialog"},
};
// clang-format on

std::string_view OperandsText(Operands operands) {
    switch (operands) {
    case Operands::control:
        return "ID";
    case Operands::controlText:
        return "ID TEXT";
    case Operands::controlEntry:
        return "ID N";
    case Operands::answer:
        return "WORD";
    case Operands::path:
        return "PATH";
    case Operands::milliseconds:
        return "MS";
    }
    return "";
}

// How the command is written: "select ID N".
std::string Form(const DialogCommand& command) {
    return std::string(command.name) + " " + std::string(OperandsText(command.operands));
}

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    return first == std::string::npos
               ? ""
               : text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

// Splits "word rest" at the first blank.
std::pair<std::string, std::string> Head(const std::string& text) {
    const size_t blank = text.find(' ');
    if (blank == std::string::npos)
        return {text, ""};
    return {text.substr(0, blank), Trim(text.substr(blank + 1))};
}

// A whole number from 0 to `largest`, written in digits only.
template <typename Number>
bool ParseNumber(const std::string& text, std::type_identity_t<Number> largest, Number& value) {
    if (text.empty() || text[0] < '0' || text[0] > '9')
        return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value <= largest;
}

// The control's id, from its name or its number; empty with the reason when the text names none.
std::optional<int> ParseControl(const std::string& text, std::string& reason) {
    for (const NamedControl& named : namedControls)
        if (named.name == text)
            return named.id;
    int control = 0;
    if (text.empty())
        reason = "no control";
    else if (text[0] < '0' || text[0] > '9')
        reason = "no control is named '" + text + "'";
    else if (!ParseNumber(text, 0xFFFF, control))
        reason = "'" + text + "' is not a control";
    else
        return control;
    return std::nullopt;
}

const DialogCommand* Find(const std::string& name) {
    for (const DialogCommand& command : commands)
        if (command.name == name)
            return &command;
    return nullptr;
}

// The action; empty with the reason when it cannot be done.
std::optional<DialogAction> ParseAction(const std::string& item, std::string& reason) {
    DialogAction action;
    action.written = item;
    std::string name, rest;
    std::tie(name, rest) = Head(item);
    const DialogCommand* command = Find(name);
    if (!command) {
        reason = "there is no action '" + name + "'";
        return std::nullopt;
    }
    action.command = command;
    switch (command->operands) {
    case Operands::control:
    case Operands::controlText:
    case Operands::controlEntry: {
        std::string control, more;
        std::tie(control, more) = Head(rest);
        const auto id = ParseControl(control, reason);
        if (!id)
            break;
        action.control = *id;
        action.controlName = control;
        if (command->operands == Operands::controlText)
            action.text = more;
        else if (command->operands == Operands::control && !more.empty())
            reason = "'" + more + "' after the control";
        else if (command->operands == Operands::controlEntry &&
                 !ParseNumber(more, std::numeric_limits<int>::max(), action.entry))
            reason = "'" + more + "' is not an entry number";
        break;
    }
    case Operands::answer:
        action.text = rest;
        if (!ButtonForAnswer(rest))
            reason = "'" + rest + "' is not one of ok, cancel, yes, no, retry, abort, ignore";
        break;
    case Operands::path:
        action.text = rest;
        if (rest.empty())
            reason = "no path";
        break;
    case Operands::milliseconds:
        if (!ParseNumber(rest, INFINITE - 1, action.milliseconds))
            reason = "'" + rest + "' is not a number of milliseconds";
        break;
    }
    if (!reason.empty()) {
        reason += " (" + Form(*command) + ")";
        return std::nullopt;
    }
    return action;
}

} // namespace

std::optional<std::vector<DialogAction>> ParseDialogScript(const std::string& script,
                                                           std::string& error) {
    std::vector<DialogAction> actions;
    size_t start = 0;
    while (start <= script.size()) {
        size_t comma = script.find(',', start);
        if (comma == std::string::npos)
            comma = script.size();
        const std::string item = Trim(script.substr(start, comma - start));
        start = comma + 1;
        if (item.empty())
            continue;
        std::string reason;
        const auto action = ParseAction(item, reason);
        if (!action) {
            error = "--dialog: cannot do '" + item + "': " + reason;
            return std::nullopt;
        }
        actions.push_back(*action);
    }
    return actions;
}

std::string DialogScriptHelp() {
    std::string help;
    for (const DialogCommand& command : commands) {
        std::string line = "  " + Form(command);
        line.resize(std::max(line.size() + 1, helpColumn), ' ');
        help += line + std::string(command.help) + "\n";
    }
    std::string line = "  ID is a control's name or, for a control without one, its number:";
    for (const NamedControl& named : namedControls) {
        if (line.size() + 1 + named.name.size() + 1 > helpWidth) {
            help += line + "\n";
            line = std::string(helpColumn - 1, ' ');
        }
        line.append(" ").append(named.name);
        if (&named != std::end(namedControls) - 1)
            line += ',';
    }
    return help + line + "\n";
}

bool RunDialogScript(HWND dialog, const std::vector<DialogAction>& actions, const BoxFinder& next) {
    const ScriptTarget target{dialog, next};
    for (const DialogAction& action : actions) {
        if (!action.command->run(target, action)) {
            StoreLogMessage(msgDialogScriptStopped, GetModuleHandleW(nullptr), 0,
                            action.written.c_str());
            return false;
        }
    }
    return true;
}

} // namespace nltamsel
