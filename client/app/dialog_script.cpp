#include "dialog_script.h"

#include "box_watcher.h"
#include "client_messages.h"
#include "ntamsel.h"

#include <dlgs.h>

#include <charconv>

namespace nltamsel {
namespace {

constexpr DWORD actionWaitMs = 10000;
constexpr DWORD textWaitMs = 120000;
constexpr DWORD pollMs = 50;
// The open-file dialog's name field: an edit in the old dialog, a combo box in the explorer one.
constexpr int fileNameField = edt1;
constexpr int fileNameBox = cmb13;

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

std::string ControlText(HWND control) {
    wchar_t wide[1024];
    const int length = GetWindowTextW(control, wide, int(std::size(wide)));
    char utf8[sizeof wide * 2];
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, wide, length, utf8, sizeof utf8, nullptr, nullptr);
    return std::string(utf8, size_t(bytes > 0 ? bytes : 0));
}

template <typename Condition> bool WaitFor(DWORD milliseconds, Condition condition) {
    for (DWORD waited = 0;; waited += pollMs) {
        if (condition())
            return true;
        if (waited >= milliseconds)
            return false;
        Sleep(pollMs);
    }
}

// Waits until the dialog's thread has dealt with what was posted to it.
void Settle(HWND dialog) {
    Sleep(pollMs);
    DWORD_PTR ignored;
    SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_NORMAL, actionWaitMs, &ignored);
}

bool Usable(HWND control) {
    return control && IsWindowVisible(control) && IsWindowEnabled(control);
}

bool ClickWhenUsable(HWND dialog, HWND control) {
    if (!WaitFor(actionWaitMs, [&] { return Usable(control); }))
        return false;
    PostMessageW(control, BM_CLICK, 0, 0);
    Settle(dialog);
    return true;
}

bool CloseBox(HWND dialog, HWND box, int button) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    const bool closed = WaitFor(actionWaitMs, [&] { return !IsWindow(box); });
    Settle(dialog);
    return closed;
}

bool Run(HWND dialog, const DialogAction& action, const BoxFinder& next) {
    const HWND control = GetDlgItem(dialog, action.control);
    const HMODULE self = GetModuleHandleW(nullptr);
    if (action.verb == "check" || action.verb == "uncheck") {
        const bool wanted = action.verb == "check";
        const bool checked = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
        return checked == wanted || ClickWhenUsable(dialog, control);
    }
    if (action.verb == "click")
        return ClickWhenUsable(dialog, control);
    if (action.verb == "type") {
        SendMessageW(control, EM_SETSEL, 0, -1);
        SendMessageW(control, WM_CHAR, VK_BACK, 0);
        for (char key : action.text)
            SendMessageW(control, WM_CHAR, WPARAM(static_cast<unsigned char>(key)), 0);
        return control != nullptr;
    }
    if (action.verb == "select") {
        int entry = 0;
        if (!ParseControl(action.text, entry) ||
            SendMessageW(control, LB_SETCURSEL, WPARAM(entry), 0) == LB_ERR)
            return false;
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(action.control, LBN_SELCHANGE),
                     LPARAM(control));
        return true;
    }
    if (action.verb == "wait")
        return WaitFor(textWaitMs, [&] {
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
    if (action.verb == "file") {
        wchar_t path[MAX_PATH];
        StoreTranslateText(STORE_TRANSLATE_TO_UNICODE, action.text.c_str(),
                           WORD(action.text.size()), reinterpret_cast<char*>(path), sizeof path);
        SetDlgItemTextW(box, fileNameField, path);
        SetDlgItemTextW(box, fileNameBox, path);
        return CloseBox(dialog, box, IDOK);
    }
    StoreLogMessage(msgBoxShown, self, 0, ControlText(box).c_str(), "");
    return CloseBox(dialog, box, ButtonForAnswer(action.text));
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
