#include "dialog_script.h"

#include "box_watcher.h"
#include "client_messages.h"
#include "dialog_moves.h"
#include "ntamsel.h"

#include <charconv>

namespace nltamsel {
namespace {

constexpr DWORD actionWaitMs = 10000;
constexpr DWORD textWaitMs = 120000;
constexpr DWORD pollMs = 50;

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    return first == std::string::npos
               ? ""
               : text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

// Splits "verb rest" at the first blank.
std::pair<std::string, std::string> Head(const std::string& text) {
    const size_t blank = text.find(' ');
    if (blank == std::string::npos)
        return {text, ""};
    return {text.substr(0, blank), Trim(text.substr(blank + 1))};
}

bool ParseControl(const std::string& text, int& control) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), control);
    return error == std::errc() && end == text.data() + text.size();
}

std::optional<DialogAction> ParseAction(const std::string& item) {
    DialogAction action;
    std::string rest;
    std::tie(action.verb, rest) = Head(item);
    if (action.verb == "answer" || action.verb == "file") {
        action.text = rest;
        if (rest.empty() || (action.verb == "answer" && !ButtonForAnswer(rest)))
            return std::nullopt;
        return action;
    }
    const bool withText = action.verb == "type" || action.verb == "select" || action.verb == "wait";
    const bool withoutText = action.verb == "check" || action.verb == "uncheck" ||
                             action.verb == "click" || action.verb == "log" ||
                             action.verb == "pause";
    std::string number;
    std::tie(number, action.text) = withText ? Head(rest) : std::pair{rest, std::string()};
    if (!(withText || withoutText) || !ParseControl(number, action.control))
        return std::nullopt;
    return action;
}

// The client's texts are UTF-8.
std::string ControlText(HWND control) {
    return dialog_moves::WindowText(control, CP_UTF8);
}

// Waits until the dialog's thread has dealt with what was posted to it.
void Settle(HWND dialog) {
    Sleep(pollMs);
    dialog_moves::Settle(dialog, actionWaitMs);
}

bool ClickWhenUsable(HWND dialog, HWND control) {
    if (!dialog_moves::WaitUntil(actionWaitMs, pollMs,
                                 [&] { return dialog_moves::IsUsable(control); }))
        return false;
    dialog_moves::Click(control, dialog_moves::Delivery::post);
    Settle(dialog);
    return true;
}

bool Run(HWND dialog, const DialogAction& action, const BoxFinder& next) {
    const HWND control = GetDlgItem(dialog, action.control);
    const HMODULE self = GetModuleHandleW(nullptr);
    if (action.verb == "check" || action.verb == "uncheck") {
        const bool wanted = action.verb == "check";
        return dialog_moves::IsChecked(control) == wanted || ClickWhenUsable(dialog, control);
    }
    if (action.verb == "click")
        return ClickWhenUsable(dialog, control);
    if (action.verb == "type") {
        dialog_moves::TypeText(control, action.text, CP_UTF8);
        return control != nullptr;
    }
    if (action.verb == "select") {
        int entry = 0;
        return ParseControl(action.text, entry) &&
               dialog_moves::SelectEntry(dialog, action.control, entry);
    }
    if (action.verb == "wait")
        return dialog_moves::WaitUntil(textWaitMs, pollMs, [&] {
            return IsWindowVisible(control) && ControlText(control).rfind(action.text, 0) == 0;
        });
    if (action.verb == "pause") {
        Sleep(DWORD(action.control));
        return true;
    }
    if (action.verb == "log") {
        StoreLogMessage(msgDialogControl, self, 0, action.control, ControlText(control).c_str());
        return control != nullptr;
    }
    const HWND box = next(dialog, actionWaitMs);
    if (!box)
        return false;
    bool closed = false;
    if (action.verb == "file") {
        closed = dialog_moves::ChooseFile(box, action.text, CP_UTF8, actionWaitMs);
    } else {
        StoreLogMessage(msgBoxShown, self, 0, ControlText(box).c_str(), "");
        closed = dialog_moves::AnswerBox(box, ButtonForAnswer(action.text), actionWaitMs);
    }
    Settle(dialog);
    return closed;
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
        const auto action = ParseAction(item);
        if (!action) {
            error = "--dialog: cannot do '" + item + "'";
            return std::nullopt;
        }
        actions.push_back(*action);
    }
    return actions;
}

bool RunDialogScript(HWND dialog, const std::vector<DialogAction>& actions, const BoxFinder& next) {
    for (const DialogAction& action : actions) {
        if (!Run(dialog, action, next)) {
            const std::string what = action.verb + " " + std::to_string(action.control);
            StoreLogMessage(msgDialogScriptStopped, GetModuleHandleW(nullptr), 0,
                            (action.control ? what : action.verb + " " + action.text).c_str());
            return false;
        }
    }
    return true;
}

} // namespace nltamsel
