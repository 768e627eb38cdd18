// The settings dialog: how long it takes to open with 15 configured databases, and how soon the
// client's user-interface thread answers a posted message while the dialog is open, with and
// without a pass running at full speed. The plug-in's code runs in this process with the
// installed engines, the dialog on a thread of its own as on the client's user-interface thread.
#include "bench_data.h"
#include "catalogue/catalogue.h"
#include "file_text.h"
#include "host/exports.h"
#include "installed_engines.h"
#include "ntamsel.h"
#include "settings/client_settings.h"
#include "state/index_status.h"
#include "temp_dir.h"
#include "ui/settings_dialog.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int mails = 20000;

double Milliseconds(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

void PrintFigures(const char* what, std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t p99 = (values.size() * 99 + 99) / 100 - 1;
    std::printf("%s, %zu times: median %.2f ms, 99th percentile %.2f ms, worst %.2f ms\n", what,
                values.size(), values[values.size() / 2], values[p99], values.back());
}

BOOL CALLBACK FindShownDialog(HWND window, LPARAM result) {
    char className[16];
    GetClassNameA(window, className, sizeof className);
    if (!IsWindowVisible(window) || lstrcmpA(className, "#32770") != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(result) = window;
    return FALSE;
}

HWND VisibleDialog(DWORD thread) {
    HWND found = nullptr;
    EnumThreadWindows(thread, FindShownDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

HANDLE answered = nullptr;

LRESULT CALLBACK Echo(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) {
        SetEvent(answered);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// The client's user-interface thread: a window that answers posted messages, and the dialog.
class UserInterfaceThread {
  public:
    UserInterfaceThread() {
        thread_ = std::thread([this] {
            echo_ = CreateWindowExW(0, L"DialogBenchEcho", L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                    nullptr, GetModuleHandleW(nullptr), nullptr);
            id_ = GetCurrentThreadId();
            tamsel::ShowSettingsDialog(nullptr);
            DestroyWindow(echo_);
        });
        while (!id_)
            std::this_thread::yield();
        while (!(dialog_ = VisibleDialog(id_)))
            std::this_thread::yield();
    }
    ~UserInterfaceThread() {
        PostMessageW(dialog_, WM_COMMAND, IDCANCEL, 0);
        thread_.join();
    }
    double RoundTrip() const {
        const auto start = Clock::now();
        PostMessageW(echo_, WM_APP, 0, 0);
        WaitForSingleObject(answered, INFINITE);
        return Milliseconds(start);
    }

  private:
    std::thread thread_;
    std::atomic<DWORD> id_{0};
    HWND echo_ = nullptr;
    HWND dialog_ = nullptr;
};

void OpenTimes() {
    std::vector<double> times;
    for (int run = 0; run < 20; ++run) {
        const auto start = Clock::now();
        const UserInterfaceThread opened;
        times.push_back(Milliseconds(start));
    }
    PrintFigures("Opening the dialog with 15 configured databases (until it shows)", times);
}

std::vector<double> RoundTrips(const UserInterfaceThread& client, int count) {
    std::vector<double> times;
    for (int message = 0; message < count; ++message) {
        times.push_back(client.RoundTrip());
        Sleep(5);
    }
    return times;
}

} // namespace

int main() {
    testing_support::InstalledEngines engines;
    testing_support::TempDir data;
    if (StoreClientInit(data.path().c_str(), 0) != STORE_NOERROR) {
        std::fprintf(stderr, "cannot use %s\n", data.path().c_str());
        return 1;
    }
    tamsel::InitCatalogue(GetModuleHandleW(nullptr));
    bench::WriteMailFile(data.file("mail.zrb"), mails, 200);
    std::string settings = "[Tamsel]\r\nDesktopSearchIndexEnabled=1\r\nDesktopSearchWaitTime=0\r\n"
                           "DesktopSearchFilePath=mail.zrb\r\n";
    for (int slot = 1; slot < 15; ++slot)
        settings += "DesktopSearchFilePath" + std::to_string(slot) + "=other" +
                    std::to_string(slot) + ".zrb\r\n";
    testing_support::WriteFileText(data.file("tamsel.ini"), settings);
    tamsel::LoadSettings();
    WNDCLASSW echoClass{};
    echoClass.lpfnWndProc = Echo;
    echoClass.hInstance = GetModuleHandleW(nullptr);
    echoClass.lpszClassName = L"DialogBenchEcho";
    RegisterClassW(&echoClass);
    answered = CreateEventW(nullptr, FALSE, FALSE, nullptr);

    OpenTimes();
    {
        const UserInterfaceThread client;
        PrintFigures("Posted message answered, dialog open, no pass", RoundTrips(client, 300));
    }
    TamselDesktopIndex();
    {
        const UserInterfaceThread client; // opening wakes the indexer
        while (!tamsel::indexStatus.passRunning)
            Sleep(1);
        const DWORD before = tamsel::indexStatus.processed;
        const auto start = Clock::now();
        const auto times = RoundTrips(client, 300);
        const double seconds = Milliseconds(start) / 1000;
        const DWORD processed = tamsel::indexStatus.processed - before;
        PrintFigures("Posted message answered, dialog open, pass at full speed", times);
        std::printf("  the pass indexed %lu notes meanwhile (%.0f notes/s)%s\n",
                    static_cast<unsigned long>(processed), processed / seconds,
                    tamsel::indexStatus.passRunning ? "" : "; it ended before the last message");
    }
    TamselDesktopTerm();
    StoreClientInit(nullptr, 0);
    return 0;
}
