#include "dialog_driver.h"

#include <dlgs.h>

#include <atomic>

namespace testing_support {
namespace {

constexpr DWORD pollMs = 10;

struct Search {
    HWND except;
    HWND found;
};

// A visible dialog of the thread other than the given one: the dialog itself, or a box it shows.
BOOL CALLBACK FindDialog(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    char className[16];
    GetClassNameA(window, className, sizeof className);
    if (window == search->except || lstrcmpA(className, "#32770") != 0 || !IsWindowVisible(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND WaitForThreadDialog(DWORD thread, HWND except, DWORD milliseconds) {
    for (DWORD waited = 0; waited <= milliseconds; waited += pollMs) {
        Search search{except, nullptr};
        EnumThreadWindows(thread, FindDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        Sleep(pollMs);
    }
    return nullptr;
}

std::string WindowText(HWND window) {
    char text[4096] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// A message box's message is its static text; the icon beside it has none.
std::string StaticTexts(HWND box) {
    std::string texts;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[16];
        GetClassNameA(child, className, sizeof className);
        const std::string text = WindowText(child);
        if (lstrcmpiA(className, "Static") == 0 && !text.empty())
            texts += (texts.empty() ? "" : "\n") + text;
    }
    return texts;
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
    const HWND item = Item(control);
    if (!item || !IsWindowVisible(item) || !IsWindowEnabled(item))
        return false;
    SendMessageA(item, BM_CLICK, 0, 0);
    return true;
}

HWND DialogDriver::WaitForBox(DWORD milliseconds) const {
    return WaitForThreadDialog(threadId_, dialog_, milliseconds);
}

ShownBox DialogDriver::Answer(int answer) {
    const HWND box = WaitForBox(5000);
    if (!box)
        return {};
    ShownBox shown{WindowText(box), StaticTexts(box)};
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
    while (IsWindow(box))
        Sleep(1);
    // Returns once the dialog's thread has finished what followed the box.
    SendMessageA(dialog_, WM_NULL, 0, 0);
    return shown;
}

ShownBox DialogDriver::ClickAndAnswer(int control, int answer) {
    const HWND item = Item(control);
    if (!item || !IsWindowVisible(item) || !IsWindowEnabled(item))
        return {};
    PostMessageA(item, BM_CLICK, 0, 0);
    return Answer(answer);
}

bool DialogDriver::ChooseFile(const std::string& path) {
    // The name field: an edit in the old file dialog, a combo box in the explorer one.
    constexpr int fileNameField = edt1, fileNameBox = cmb13;
    const HWND box = WaitForBox(5000);
    if (!box)
        return false;
    SetDlgItemTextA(box, fileNameField, path.c_str());
    SetDlgItemTextA(box, fileNameBox, path.c_str());
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    while (IsWindow(box))
        Sleep(1);
    return true;
}

void DialogDriver::Type(int control, const std::string& text) {
    const HWND field = Item(control);
    SendMessageA(field, EM_SETSEL, 0, -1);
    SendMessageA(field, WM_CHAR, VK_BACK, 0);
    for (char key : text)
        SendMessageA(field, WM_CHAR, WPARAM(static_cast<unsigned char>(key)), 0);
}

void DialogDriver::Paste(int control, const std::string& text) {
    const HWND field = Item(control);
    SendMessageA(field, EM_SETSEL, 0, -1);
    SendMessageA(field, EM_REPLACESEL, TRUE, LPARAM(text.c_str()));
}

void DialogDriver::Select(int list, int entry) {
    SendMessageA(Item(list), LB_SETCURSEL, WPARAM(entry), 0);
    SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(list, LBN_SELCHANGE), LPARAM(Item(list)));
}

void DialogDriver::Tick(UINT_PTR timer) {
    SendMessageA(dialog_, WM_TIMER, timer, 0);
}

bool DialogDriver::WaitClosed(DWORD milliseconds) {
    for (DWORD waited = 0; IsOpen(); waited += pollMs) {
        if (waited >= milliseconds)
            return false;
        Sleep(pollMs);
    }
    return true;
}

std::string DialogDriver::Text(int control) const {
    return WindowText(Item(control));
}
bool DialogDriver::Visible(int control) const {
    return IsWindowVisible(Item(control)) != FALSE;
}
bool DialogDriver::Enabled(int control) const {
    return IsWindowEnabled(Item(control)) != FALSE;
}
bool DialogDriver::Checked(int control) const {
    return SendMessageA(Item(control), BM_GETCHECK, 0, 0) == BST_CHECKED;
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
