#include "dialog_moves.h"

#include <dlgs.h>

namespace dialog_moves {
namespace {

constexpr DWORD closePollMs = 10;

std::string ClassName(HWND window) {
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::wstring Wide(std::string_view text, UINT codePage) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(size_t(MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), wide.data(),
                                           int(wide.size()))));
    return wide;
}

} // namespace

bool IsDialog(HWND window) {
    return ClassName(window) == "#32770";
}

bool IsUsable(HWND control) {
    return control && IsWindowVisible(control) && IsWindowEnabled(control);
}

bool IsChecked(HWND button) {
    return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool Click(HWND control, Delivery delivery) {
    if (!IsUsable(control))
        return false;
    if (delivery == Delivery::send)
        SendMessageW(control, BM_CLICK, 0, 0);
    else
        PostMessageW(control, BM_CLICK, 0, 0);
    return true;
}

void TypeText(HWND field, std::string_view text, UINT codePage) {
    SendMessageW(field, EM_SETSEL, 0, -1);
    SendMessageW(field, WM_CHAR, VK_BACK, 0);
    for (wchar_t key : Wide(text, codePage))
        SendMessageW(field, WM_CHAR, WPARAM(key), 0);
}

bool SelectEntry(HWND dialog, int list, int entry) {
    const HWND control = GetDlgItem(dialog, list);
    if (SendMessageW(control, LB_SETCURSEL, WPARAM(entry), 0) == LB_ERR)
        return false;
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(list, LBN_SELCHANGE), LPARAM(control));
    return true;
}

void PressButton(HWND box, int button) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), LPARAM(GetDlgItem(box, button)));
}

bool AnswerBox(HWND box, int button, DWORD milliseconds) {
    PressButton(box, button);
    return WaitUntil(milliseconds, closePollMs, [&] { return !IsWindow(box); });
}

bool ChooseFile(HWND box, std::string_view path, UINT codePage, DWORD milliseconds) {
    const std::wstring wide = Wide(path, codePage);
    SetDlgItemTextW(box, edt1, wide.c_str());
    SetDlgItemTextW(box, cmb13, wide.c_str());
    return AnswerBox(box, IDOK, milliseconds);
}

bool Settle(HWND dialog, DWORD milliseconds) {
    DWORD_PTR ignored;
    return SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_NORMAL, milliseconds, &ignored) != 0;
}

std::string WindowText(HWND window, UINT codePage) {
    wchar_t text[4096];
    const int length = GetWindowTextW(window, text, int(std::size(text)));
    char narrow[sizeof text * 2];
    const int bytes =
        WideCharToMultiByte(codePage, 0, text, length, narrow, sizeof narrow, nullptr, nullptr);
    return std::string(narrow, size_t(bytes > 0 ? bytes : 0));
}

std::string StaticTexts(HWND dialog, std::string_view separator, UINT codePage) {
    std::string texts;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (lstrcmpiA(ClassName(child).c_str(), "Static") != 0)
            continue;
        const std::string text = WindowText(child, codePage);
        if (!text.empty())
            texts += (texts.empty() ? "" : std::string(separator)) + text;
    }
    return texts;
}

} // namespace dialog_moves
