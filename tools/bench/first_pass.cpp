#include "first_pass.h"

#include "file_text.h"
#include "host_process.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>

namespace bench {
namespace {

constexpr char startPrefix[] = "TamselODSPlugin: Starting file index...";

// Seconds since midnight of a log line's time stamp ("YYYY-MM-DD HH:MM:SS.mmm ...").
double StampSeconds(const std::string& line) {
    return std::atoi(line.substr(11, 2).c_str()) * 3600 +
           std::atoi(line.substr(14, 2).c_str()) * 60 + std::atof(line.substr(17, 6).c_str());
}

std::string LineWith(const std::string& log, const std::string& part) {
    const size_t at = log.find(part);
    if (at == std::string::npos)
        return {};
    const size_t start = log.rfind('\n', at);
    const size_t begin = start == std::string::npos ? 0 : start + 1;
    return log.substr(begin, log.find('\n', at) - begin);
}

std::string SummaryOf(const std::string& log, const std::string& file) {
    return LineWith(log, "TamselODSPlugin(" + file + "): Tamsel indexed:");
}

bool AllSummarised(const std::string& log, const std::vector<std::string>& databases) {
    return std::all_of(databases.begin(), databases.end(),
                       [&](const std::string& file) { return !SummaryOf(log, file).empty(); });
}

} // namespace

FirstPass RunFirstPass(const std::string& dataFolder, const std::vector<std::string>& databases) {
    FirstPass pass;
    const auto started = StartHeadlessClient(dataFolder, "--menu 0");
    if (!started)
        return pass;
    std::string client;
    bool done = false;
    while (!done && WaitForSingleObject(started.process.get(), 200) == WAIT_TIMEOUT) {
        if (client.empty())
            client = ClientProcessFolder(dataFolder);
        pass.peakMemoryMb = std::max(pass.peakMemoryMb, PeakMemoryMb(client));
        pass.log = testing_support::ReadFileText(dataFolder + "\\tamsel.log");
        done = AllSummarised(pass.log, databases);
    }
    pass.peakMemoryMb = std::max(pass.peakMemoryMb, PeakMemoryMb(client));
    TerminateProcess(started.process.get(), 0);
    const std::string start = LineWith(pass.log, startPrefix);
    if (!done || start.empty())
        return pass;
    pass.completed = true;
    double last = StampSeconds(start);
    for (const std::string& file : databases) {
        const std::string summary = SummaryOf(pass.log, file);
        const std::string opened = LineWith(pass.log, "TamselODSPlugin: Opened file: " + file);
        const double end = StampSeconds(summary);
        pass.databases.push_back(
            {file, opened.empty() ? 0 : end - StampSeconds(opened), summary.substr(24)});
        last = std::max(last, end);
    }
    pass.seconds = last - StampSeconds(start);
    return pass;
}

} // namespace bench
