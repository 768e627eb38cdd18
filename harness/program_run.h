// Runs a console program of the build (from the test's folder) and collects what it prints.
#pragma once
#include <windows.h>

#include <string>

namespace testing_support {

struct ProgramRun {
    DWORD exitCode = 1;
    std::string output; // standard output and error together
};

// commandLine: the program's name and its arguments; waits up to a minute.
ProgramRun RunProgram(const std::wstring& commandLine);

} // namespace testing_support
