#include "client_run.h"

#include "engine_turn.h"
#include "file_text.h"
#include "program_run.h"
#include "program_start.h"

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
    std::string command = "\"";
    command.append(ProgramFolder()).append("nltamsel.exe\" --data \"").append(data.path());
    command.append("\" --headless ").append(arguments);
    testing_support::StartOptions options;
    options.output = testing_support::StartOptions::Output::Captured;
    options.input = GetStdHandle(STD_INPUT_HANDLE);
    options.folder = testing_support::WideFromAnsi(ProgramFolder());
    const auto client =
        testing_support::StartProgram(testing_support::WideFromAnsi(command), options);
    if (!client)
        throw std::runtime_error("cannot start " + command + ": error " +
                                 std::to_string(client.error));
    ClientRun run;
    testing_support::ReadUntilExit(client.output.get(), client.process.get(), killAfterMs,
                                   killedExitCode, run.output, killNow);
    run.exitCode = int(client.Wait());
    std::istringstream log(testing_support::ReadFileText(data.file("tamsel.log")));
    for (std::string line; std::getline(log, line);)
        run.logLines.push_back(line.size() > 24 ? line.substr(24) : line);
    return run;
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}
