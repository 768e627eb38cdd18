// How much of one core the client uses with indexing enabled and nothing to index: the real
// client, plug-in and engines, over an indexed database, for two minutes (or the seconds given).
#include "installed_engines.h"
#include "temp_dir.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

double Seconds(const FILETIME& time) {
    return double((ULONGLONG(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e7;
}

// Runs the client headless; returns its processor seconds, or a negative value on failure.
double RunClient(const std::string& data, int seconds, const char* extra) {
    const std::wstring folder = testing_support::InstalledEngines::ProgramFolder();
    std::string command(1, '"');
    command.append(folder.begin(), folder.end());
    command.append("nltamsel.exe\" --data \"").append(data).append("\" --headless --seconds ");
    command.append(std::to_string(seconds)).append(" ").append(extra);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &process))
        return -1;
    WaitForSingleObject(process.hProcess, INFINITE);
    FILETIME created, exited, kernel, user;
    GetProcessTimes(process.hProcess, &created, &exited, &kernel, &user);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return Seconds(kernel) + Seconds(user);
}

} // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::max(10, atoi(argv[1])) : 120;
    testing_support::InstalledEngines engines;
    testing_support::TempDir data;
    const std::wstring folder = testing_support::InstalledEngines::ProgramFolder();
    const auto made = testing_support::RunProgram(L"\"" + folder + L"zrb.exe\" sample \"" +
                                                  std::wstring(data.path().begin(), data.path().end()) +
                                                  L"\" --mails 200");
    if (made.exitCode != 0) {
        std::fprintf(stderr, "%s", made.output.c_str());
        return 1;
    }
    testing_support::WriteFileText(data.file("tamsel.ini"),
                                   "[Tamsel]\r\nAddInMenus=TamselDesktop.dll\r\nDesktopSearchIndexEnabled=1\r\n"
                                   "DesktopSearchInstallInstructions=1\r\nDesktopSearchFreqMinutes=1\r\n"
                                   "DesktopSearchFilePath=mail.zrb\r\nDesktopSearchWaitTime=0\r\n");
    // The first run indexes everything; the measured one finds nothing new.
    if (RunClient(data.path(), 10, "--menu 0") < 0)
        return 1;
    const double busy = RunClient(data.path(), seconds, "");
    if (busy < 0)
        return 1;
    std::printf("Client with indexing enabled and nothing to do, %d s: %.2f s of processor time = %.3f%% of one core\n",
                seconds, busy, 100.0 * busy / seconds);
    return 0;
}
