// The first pass over a large mail file end to end: the real client, plug-in and engines,
// 10,000 mails with bodies of about 3 KB (or the count given), indexed at full speed. Prints
// the messages per second of the pass and the client's peak memory.
#include "bench_data.h"
#include "file_text.h"
#include "host_process.h"
#include "installed_engines.h"
#include "temp_dir.h"
#include "unique_resource.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr char summaryPrefix[] = "TamselODSPlugin(mail.zrb): Tamsel indexed:";
constexpr char startPrefix[] = "TamselODSPlugin: Starting file index...";

// Seconds since midnight of a log line's time stamp ("YYYY-MM-DD HH:MM:SS.mmm ...").
double StampSeconds(const std::string& line) {
    return std::atoi(line.substr(11, 2).c_str()) * 3600 +
           std::atoi(line.substr(14, 2).c_str()) * 60 + std::atof(line.substr(17, 6).c_str());
}

std::string LineWith(const std::string& log, const char* prefix) {
    const size_t at = log.find(prefix);
    if (at == std::string::npos)
        return {};
    const size_t start = log.rfind('\n', at);
    const size_t begin = start == std::string::npos ? 0 : start + 1;
    return log.substr(begin, log.find('\n', at) - begin);
}

} // namespace

int main(int argc, char** argv) {
    const int mails = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    testing_support::InstalledEngines engines;
    testing_support::TempDir data;
    bench::WriteMailFile(data.file("mail.zrb"), mails, 3000);
    testing_support::WriteFileText(
        data.file("tamsel.ini"),
        "[Tamsel]\r\nAddInMenus=TamselDesktop.dll\r\nDesktopSearchIndexEnabled=1\r\n"
        "DesktopSearchInstallInstructions=1\r\nDesktopSearchWaitTime=0\r\n"
        "DesktopSearchDebug=1\r\nDesktopSearchFilePath=mail.zrb\r\n");
    const std::wstring folder = testing_support::InstalledEngines::ProgramFolder();
    std::string command(1, '"');
    command.append(folder.begin(), folder.end());
    command.append("nltamsel.exe\" --data \"").append(data.path()).append("\" --headless --menu 0");
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &process)) {
        std::fprintf(stderr, "cannot start the client\n");
        return 1;
    }
    const win32::UniqueHandle clientProcess(process.hProcess), thread(process.hThread);
    std::string client, log, summary;
    double peak = -1;
    while (summary.empty() && WaitForSingleObject(clientProcess.get(), 200) == WAIT_TIMEOUT) {
        if (client.empty())
            client = bench::ClientProcessFolder(data.path());
        peak = std::max(peak, bench::PeakMemoryMb(client));
        log = testing_support::ReadFileText(data.file("tamsel.log"));
        summary = LineWith(log, summaryPrefix);
    }
    peak = std::max(peak, bench::PeakMemoryMb(client));
    TerminateProcess(clientProcess.get(), 0);
    const std::string start = LineWith(log, startPrefix);
    if (summary.empty() || start.empty()) {
        std::fprintf(stderr, "the pass did not complete:\n%s", log.c_str());
        return 1;
    }
    const double seconds = StampSeconds(summary) - StampSeconds(start);
    std::printf("First pass over %d mails with 3 KB bodies: %.1f s = %.0f messages/s; client's "
                "peak memory %.1f MB\n",
                mails, seconds, mails / seconds, peak);
    std::printf("%s\n", summary.substr(24).c_str());
    return 0;
}
