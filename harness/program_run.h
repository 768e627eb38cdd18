// Runs a console program of the build (from the test's folder) and collects what it prints.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace testing_support {

struct ProgramRun {
    DWORD exitCode = 1;
    std::string output; // standard output and error together
};

// commandLine: the program's name and its arguments; waits until the program ends.
ProgramRun RunProgram(const std::wstring& commandLine);

// Appends what `process` writes into the pipe `readEnd` to `output` until the process ends, not
// until the pipe closes: Wine's desktop process, when the program happens to start it, inherits
// the pipe and outlives the program. Ends the process with `killedExitCode` after `limitMs`
// (INFINITE: never), or as soon as `killNow` (asked every 20 ms) says so.
void ReadUntilExit(HANDLE readEnd, HANDLE process, DWORD limitMs, UINT killedExitCode,
                   std::string& output, const std::function<bool()>& killNow = {});

} // namespace testing_support
