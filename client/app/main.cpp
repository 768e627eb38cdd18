// nltamsel: the mail client. Loads the menu add-ins its settings list, offers their items in
// its Actions menu, and tells them when it closes.
#include "addins.h"
#include "box_watcher.h"
#include "client_messages.h"
#include "main_window.h"
#include "ntamsel.h"
#include "options.h"
#include "unique_resource.h"
#include "url_open.h"
#include "url_protocols.h"
#include "write_failures.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using namespace nltamsel;

namespace {

// Set by Ctrl+C: the client ends.
win32::UniqueHandle quitEvent;

BOOL WINAPI OnConsoleControl(DWORD) {
    SetEvent(quitEvent.get());
    return TRUE;
}

std::vector<std::string> Arguments() {
    int count = 0;
    const win32::UniqueLocal<LPWSTR> wide(CommandLineToArgvW(GetCommandLineW(), &count));
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i) {
        char utf8[1024];
        const int bytes =
            WideCharToMultiByte(CP_UTF8, 0, wide.get()[i], -1, utf8, sizeof utf8, nullptr, nullptr);
        arguments.emplace_back(utf8, size_t(bytes > 0 ? bytes - 1 : 0));
    }
    return arguments;
}

// The user's data directory, where the library finds it when no one names it.
bool RecordDataDirectory(const char* directory) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, directory, -1, nullptr, 0);
    std::wstring wide(length > 0 ? length : 1, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, directory, -1, wide.data(), length);
    wchar_t full[MAX_PATH];
    const DWORD fullLength = GetFullPathNameW(wide.c_str(), MAX_PATH, full, nullptr);
    const DWORD attributes =
        fullLength && fullLength < MAX_PATH ? GetFileAttributesW(full) : INVALID_FILE_ATTRIBUTES;
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        std::fprintf(stderr, "nltamsel: '%s' is not a data directory\n", directory);
        return false;
    }
    HKEY created = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, STORE_CLIENT_KEY, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &created, nullptr) != ERROR_SUCCESS)
        return false;
    const win32::UniqueKey key(created);
    return RegSetValueExW(key.get(), STORE_DATA_DIRECTORY_VALUE, 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(full),
                          DWORD((fullLength + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

int Install(const char* dataDirectory) {
    if (dataDirectory && !RecordDataDirectory(dataDirectory))
        return 1;
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    folder.erase(folder.find_last_of(L'\\') + 1);
    HKEY created = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Velmora\\Tamsel", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &created, nullptr) != ERROR_SUCCESS) {
        std::fprintf(stderr, "nltamsel: cannot write HKLM\\SOFTWARE\\Velmora\\Tamsel\n");
        return 1;
    }
    const win32::UniqueKey key(created);
    const LONG result =
        RegSetValueExW(key.get(), L"Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                       DWORD((folder.size() + 1) * sizeof(wchar_t)));
    if (!RegisterUrlProtocols(std::wstring(path, length))) {
        std::fprintf(stderr, "nltamsel: cannot register the Tamsel: and mailto: URLs\n");
        return 1;
    }
    return result == ERROR_SUCCESS ? 0 : 1;
}

// Runs the message loop until the main window closes, the time is up or Ctrl+C.
void RunMessageLoop(DWORD milliseconds, HWND window) {
    const HANDLE quit = quitEvent.get();
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        if (milliseconds != INFINITE && elapsed >= milliseconds)
            return;
        const DWORD wait = milliseconds == INFINITE ? INFINITE : milliseconds - elapsed;
        if (MsgWaitForMultipleObjects(1, &quit, FALSE, wait, QS_ALLINPUT) == WAIT_OBJECT_0)
            return;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                return;
            if (ShowWriteFailure(message, window))
                continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

} // namespace

int main() {
    std::string error;
    const auto options = ParseOptions(Arguments(), error);
    if (!options) {
        std::fprintf(stderr, "nltamsel: %s\n%s", error.c_str(), Usage().c_str());
        return 2;
    }
    if (options->help) {
        std::fputs(Usage().c_str(), stdout);
        return 0;
    }
    const char* data = options->dataDirectory.empty() ? std::getenv("TAMSEL_DATA")
                                                      : options->dataDirectory.c_str();
    if (options->install)
        return Install(data);

    if (data &&
        StoreClientInit(data, options->headless ? STORE_INIT_ECHO_LOG : 0) != STORE_NOERROR) {
        std::fprintf(stderr, "nltamsel: '%s' is not a data directory\n", data);
        return 1;
    }
    if (StoreThreadInit() != STORE_NOERROR) {
        std::fprintf(stderr, "nltamsel: no data directory (use --data DIR or set TAMSEL_DATA)\n");
        return 1;
    }
    if (!options->url.empty()) {
        const int code = OpenUrl(options->url);
        StoreThreadTerm();
        return code;
    }
    WatchWriteFailures();
    quitEvent.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    const HMODULE self = GetModuleHandleW(nullptr);
    StoreLogMessage(msgStarting, self, 0);

    std::unique_ptr<BoxWatcher> watcher;
    if (options->headless)
        watcher = std::make_unique<BoxWatcher>(options->answers, options->dialogScript);

    AddInHost host;
    char list[1024];
    if (StoreGetEnvString("AddInMenus", list, sizeof list))
        host.LoadAll(list);

    {
        // Gone before the add-ins hear that the client closes.
        const win32::UniqueWindow window(options->headless ? nullptr : CreateMainWindow(host));
        if (watcher && options->menuItem)
            watcher->ArmScript();
        if (options->menuItem && !host.Choose(*options->menuItem, window.get()))
            StoreLogMessage(msgNoSuchMenuItem, self, 0, int(*options->menuItem));
        RunMessageLoop(options->seconds ? *options->seconds * 1000 : INFINITE, window.get());
    }

    StoreClientShutdown();
    host.TerminateAll();
    StoreLogMessage(msgExiting, self, 0);
    StoreThreadTerm();
    return 0;
}
