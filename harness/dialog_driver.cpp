#include "dialog_driver.h"

#include "dialog_moves.h"

#include <atomic>

namespace testing_support {
namespace {

constexpr DWORD pollMs = 10;
// The driver's texts are in the code page of the process, as the plug-in's are.
constexpr UINT codePage = CP_ACP;

struct Search {
    HWND except;
    HWND found;
};

// A visible dialog of the thread other than the given one: the dialog itself, or a box it shows.
BOOL CALLBACK FindDialog(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    if (window == search->except || !dialog_moves::IsDialog(window) || !IsWindowVisible(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND WaitForThreadDialog(DWORD thread, HWND except, DWORD milliseconds) {
    Search search{except, nullptr};
    dialog_moves::WaitUntil(milliseconds, pollMs, [&] {
        EnumThreadWindows(thread, FindDialog, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    });
    return search.found;
}

} // namespace

DialogDriver::DialogDriver(std::function<void()> show) {
    std::atomic<DWORD> started{0};
    thread_ = std::thread([&started, show] {
        started = GetCurrentThreadId();
        show();
    });
    while (!started)
        Sleep(1);
    threadId_ = started;
    dialog_ = WaitForThreadDialog(threadId_, nullptr, 10000);
}

DialogDriver::~DialogDriver() {
    while (IsOpen()) {
        if (HWND box = WaitForThreadDialog(threadId_, dialog_, 0))
            PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
        else
            PostMessageA(dialog_, WM_COMMAND, IDCANCEL, 0);
        Sleep(50);
    }
    thread_.join();
}

bool DialogDriver::Click(int control) {
    return dialog_moves::Click(Item(control), dialog_moves::Delivery::send);
}

HWND DialogDriver::WaitForBox(DWORD milliseconds) const {
    return WaitForThreadDialog(threadId_, dialog_, milliseconds);
}

ShownBox DialogDriver::Answer(int answer) {
    const HWND box = WaitForBox(5000);
    if (!box)
        return {};
    ShownBox shown{dialog_moves::WindowText(box, codePage),
                   dialog_moves::StaticTexts(box, "\n", codePage)};
    dialog_moves::AnswerBox(box, answer, INFINITE);
    // Returns once the dialog's thread has finished what followed the box.
    dialog_moves::Settle(dialog_, INFINITE);
    return shown;
}

ShownBox DialogDriver::ClickAndAnswer(int control, int answer) {
    if (!dialog_moves::Click(Item(control), dialog_moves::Delivery::post))
        return {};
    return Answer(answer);
}

bool DialogDriver::ChooseFile(const std::string& path) {
    const HWND box = WaitForBox(5000);
    return box && dialog_moves::ChooseFile(box, path, codePage, INFINITE);
}

void DialogDriver::Type(int control, const std::string& text) {
    dialog_moves::TypeText(Item(control), text, codePage);
}

void DialogDriver::Paste(int control, const std::string& text) {
    const HWND field = Item(control);
    SendMessageA(field, EM_SETSEL, 0, -1);
    SendMessageA(field, EM_REPLACESEL, TRUE, LPARAM(text.c_str()));
}

void DialogDriver::Select(int list, int entry) {
    dialog_moves::SelectEntry(dialog_, list, entry);
}

void DialogDriver::Tick(UINT_PTR timer) {
    SendMessageA(dialog_, WM_TIMER, timer, 0);
}

bool DialogDriver::WaitClosed(DWORD milliseconds) {
    return dialog_moves::WaitUntil(milliseconds, pollMs, [&] { return !IsOpen(); });
}

std::string DialogDriver::Text(int control) const {
    return dialog_moves::WindowText(Item(control), codePage);
}
bool DialogDriver::Visible(int control) const {
    return IsWindowVisible(Item(control)) != FALSE;
}
bool DialogDriver::Enabled(int control) const {
    return IsWindowEnabled(Item(control)) != FALSE;
}
bool DialogDriver::Checked(int control) const {
    return dialog_moves::IsChecked(Item(control));
}

std::vector<std::string> DialogDriver::Entries(int list) const {
    std::vector<std::string> entries;
    const LRESULT count = SendMessageA(Item(list), LB_GETCOUNT, 0, 0);
    for (LRESULT entry = 0; entry < count; ++entry) {
        std::string text(size_t(SendMessageA(Item(list), LB_GETTEXTLEN, entry, 0)) + 1, '\0');
        text.resize(size_t(SendMessageA(Item(list), LB_GETTEXT, entry, LPARAM(text.data()))));
        entries.push_back(text);
    }
    return entries;
}

int DialogDriver::Selected(int list) const {
    return int(SendMessageA(Item(list), LB_GETCURSEL, 0, 0));
}

} // namespace testing_support
