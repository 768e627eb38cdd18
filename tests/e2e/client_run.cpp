#include "client_run.h"

#include "engine_turn.h"
#include "file_text.h"
#include "program_run.h"
#include "unique_resource.h"

#include <windows.h>

#include <algorithm>
#include <sstream>
#include <stdexcept>

namespace {

std::string ProgramFolder() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

} // namespace

void WriteClientSettings(const testing_support::TempDir& data, const std::string& extraLines) {
    testing_support::WriteFileText(data.file("tamsel.ini"),
                                   "[Tamsel]\r\nAddInMenus=TamselDesktop.dll\r\n" + extraLines);
}

ClientRun RunClient(const testing_support::TempDir& data, const std::string& arguments,
                    DWORD killAfterMs, const std::function<bool()>& killNow) {
    // The plug-in registers with whatever engine is installed: not while another test has
    // installed one for itself.
    const testing_support::EngineTurn turn;
    // Nor the client nor what it starts (Wine's desktop and shell processes may outlive it) may
    // hold this program's own output open: the test runner would wait for them.
    for (DWORD own : {STD_OUTPUT_HANDLE, STD_ERROR_HANDLE})
        SetHandleInformation(GetStdHandle(own), HANDLE_FLAG_INHERIT, 0);
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    // Owned at once: a start that throws leaves no pipe end open.
    HANDLE read = nullptr, write = nullptr;
    if (!CreatePipe(&read, &write, &inherit, 0))
        throw std::runtime_error("no pipe: error " + std::to_string(GetLastError()));
    const win32::UniqueHandle readEnd(read);
    win32::UniqueHandle writeEnd(write);
    SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd.get();
    startup.hStdError = writeEnd.get();
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::string command = "\"";
    command.append(ProgramFolder()).append("nltamsel.exe\" --data \"").append(data.path());
    command.append("\" --headless ").append(arguments);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        ProgramFolder().c_str(), &startup, &process))
        throw std::runtime_error("cannot start " + command + ": error " +
                                 std::to_string(GetLastError()));
    const win32::UniqueHandle client(process.hProcess);
    const win32::UniqueHandle clientThread(process.hThread);
    writeEnd.reset(); // the client holds the only write end: its exit ends the reading
    ClientRun run;
    testing_support::ReadUntilExit(readEnd.get(), client.get(), killAfterMs, killedExitCode,
                                   run.output, killNow);
    DWORD code = 0;
    GetExitCodeProcess(client.get(), &code);
    run.exitCode = int(code);
    std::istringstream log(testing_support::ReadFileText(data.file("tamsel.log")));
    for (std::string line; std::getline(log, line);)
        run.logLines.push_back(line.size() > 24 ? line.substr(24) : line);
    return run;
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}
