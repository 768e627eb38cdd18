#include "host_process.h"

#include "installed_engines.h"
#include "unique_resource.h"
#include "whole_file.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <sstream>

namespace bench {
namespace {

constexpr double clockTicksPerSecond = 100; // the host's USER_HZ

} // namespace

testing_support::StartedProgram StartHeadlessClient(const std::string& data,
                                                    const std::string& arguments) {
    const std::wstring folder = testing_support::InstalledEngines::ProgramFolder();
    std::string command(1, '"');
    command.append(folder.begin(), folder.end());
    command.append("nltamsel.exe\" --data \"").append(data).append("\" --headless ");
    command.append(arguments);
    testing_support::StartOptions options;
    options.noWindow = true;
    return testing_support::StartProgram(testing_support::WideFromAnsi(command), options);
}

std::string ClientProcessFolder(const std::string& data) {
    WIN32_FIND_DATAA found;
    const win32::UniqueFind search(FindFirstFileA("Z:\\proc\\*", &found));
    if (!search)
        return {};
    std::string result;
    do {
        if (!std::isdigit(static_cast<unsigned char>(found.cFileName[0])))
            continue;
        const std::string folder = std::string("Z:\\proc\\") + found.cFileName;
        std::string command = win32::ReadWholeFile((folder + "\\cmdline").c_str()).value_or("");
        std::replace(command.begin(), command.end(), '\0', ' ');
        if (command.find("nltamsel.exe") != std::string::npos &&
            command.find(data) != std::string::npos)
            result = folder;
    } while (result.empty() && FindNextFileA(search.get(), &found));
    return result;
}

double ProcessorSeconds(const std::string& processFolder) {
    const std::string stat = win32::ReadWholeFile((processFolder + "\\stat").c_str()).value_or("");
    const size_t end = stat.rfind(')');
    if (end == std::string::npos)
        return -1;
    std::istringstream fields(stat.substr(end + 2));
    std::string field;
    unsigned long long user = 0, system = 0;
    for (int n = 3; n <= 15 && fields >> field; ++n) {
        if (n == 14)
            user = std::stoull(field);
        if (n == 15)
            system = std::stoull(field);
    }
    return double(user + system) / clockTicksPerSecond;
}

double PeakMemoryMb(const std::string& processFolder) {
    std::istringstream status(
        win32::ReadWholeFile((processFolder + "\\status").c_str()).value_or(""));
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return -1;
}

} // namespace bench
