// How much of one core the client uses with indexing enabled and nothing to index: the real
// client, plug-in and engines, over an indexed database, for two minutes (or the seconds given).
#include "file_text.h"
#include "host_process.h"
#include "installed_engines.h"
#include "temp_dir.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

constexpr DWORD startupMs = 10000;

// Runs the client headless for `seconds`; with `measured` > 0, returns the processor seconds it
// used in that many seconds after start-up. Negative on failure.
double RunClient(const std::string& data, int seconds, const char* extra, int measured = 0) {
    const auto client =
        bench::StartHeadlessClient(data, "--seconds " + std::to_string(seconds) + " " + extra);
    if (!client)
        return -1;
    double used = 0;
    if (measured > 0) {
        Sleep(startupMs);
        const std::string client = bench::ClientProcessFolder(data);
        const double before = bench::ProcessorSeconds(client);
        Sleep(DWORD(measured) * 1000);
        used = bench::ProcessorSeconds(client) - before;
        if (before < 0)
            used = -1;
    }
    client.Wait();
    return used;
}

} // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::max(10, atoi(argv[1])) : 120;
    testing_support::InstalledEngines engines;
    testing_support::TempDir data;
    const std::wstring folder = testing_support::InstalledEngines::ProgramFolder();
    const auto made = testing_support::RunProgram(
        L"\"" + folder + L"zrb.exe\" sample \"" +
        std::wstring(data.path().begin(), data.path().end()) + L"\" --mails 200");
    if (made.exitCode != 0) {
        std::fprintf(stderr, "%s", made.output.c_str());
        return 1;
    }
    const std::string settings =
        "DesktopSearchIndexEnabled=1\r\nDesktopSearchInstallInstructions=1\r\n"
        "DesktopSearchFreqMinutes=1\r\nDesktopSearchFilePath=mail.zrb\r\n"
        "DesktopSearchWaitTime=0\r\n";
    testing_support::WriteFileText(data.file("tamsel.ini"),
                                   "[Tamsel]\r\nAddInMenus=TamselDesktop.dll\r\n" + settings);
    // The first run indexes everything; the measured one finds nothing new.
    if (RunClient(data.path(), 10, "--menu 0") < 0)
        return 1;
    const double busy = RunClient(data.path(), seconds + startupMs / 1000 + 5, "", seconds);
    // The same client without the plug-in, for comparison.
    testing_support::WriteFileText(data.file("tamsel.ini"), "[Tamsel]\r\n" + settings);
    const double bare = RunClient(data.path(), seconds + startupMs / 1000 + 5, "", seconds);
    if (busy < 0 || bare < 0)
        return 1;
    std::printf("Client with indexing enabled and nothing to do, %d s after start-up: %.2f s of "
                "processor time = %.3f%% of one core\n",
                seconds, busy, 100.0 * busy / seconds);
    std::printf("The same client without the plug-in: %.2f s = %.3f%% of one core\n", bare,
                100.0 * bare / seconds);
    return 0;
}
