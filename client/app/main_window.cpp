#include "main_window.h"

#include "ntamsel.h"

#include <string>

namespace nltamsel {
namespace {

constexpr UINT firstItemCommand = 1000;
constexpr UINT exitCommand = 999;
const wchar_t* const windowClass = L"NlTamselMain";

std::wstring Wide(const std::string& utf8) {
    wchar_t text[ADDIN_ITEM_TEXT_SIZE * 2];
    StoreTranslateText(STORE_TRANSLATE_TO_UNICODE, utf8.c_str(), WORD(utf8.size()),
                       reinterpret_cast<char*>(text), sizeof text);
    return text;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* host = reinterpret_cast<AddInHost*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_CREATE:
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          LONG_PTR(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == exitCommand)
            DestroyWindow(window);
        else if (host && LOWORD(wParam) >= firstItemCommand)
            host->Choose(LOWORD(wParam) - firstItemCommand, window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

HMENU BuildMenu(const AddInHost& host) {
    HMENU actions = CreatePopupMenu();
    UINT command = firstItemCommand;
    for (const std::string& item : host.MenuItems())
        AppendMenuW(actions, MF_STRING, command++, Wide(item).c_str());
    if (command != firstItemCommand)
        AppendMenuW(actions, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(actions, MF_STRING, exitCommand, L"E&xit");
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, UINT_PTR(actions), L"&Actions");
    return bar;
}

} // namespace

HWND CreateMainWindow(AddInHost& host) {
    WNDCLASSEXW windowClassInfo{};
    windowClassInfo.cbSize = sizeof windowClassInfo;
    windowClassInfo.lpfnWndProc = MainWindowProc;
    windowClassInfo.hInstance = GetModuleHandleW(nullptr);
    windowClassInfo.hIcon = LoadIconW(windowClassInfo.hInstance, MAKEINTRESOURCEW(1));
    windowClassInfo.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClassInfo.hbrBackground = HBRUSH(COLOR_APPWORKSPACE + 1);
    windowClassInfo.lpszClassName = windowClass;
    RegisterClassExW(&windowClassInfo);
    HWND window = CreateWindowExW(0, windowClass, L"Velmora Tamsel", WS_OVERLAPPEDWINDOW,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 640, 480, nullptr, BuildMenu(host),
                                  windowClassInfo.hInstance, &host);
    if (window)
        ShowWindow(window, SW_SHOWNORMAL);
    return window;
}

} // namespace nltamsel
