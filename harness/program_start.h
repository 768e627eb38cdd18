// Starting another program, for the tests and the benchmarks: one place for CreateProcess and
// for the handles it leaves, owned from the moment they exist.
#pragma once
#include "unique_resource.h"

#include <windows.h>

#include <string>

namespace testing_support {

struct StartOptions {
    enum class Output {
        Inherited, // the program keeps this one's console and inherits no handle
        Captured,  // its standard output and error into one pipe, see StartedProgram::output
        Discarded, // its standard output and error into NUL
    };
    Output output = Output::Inherited;
    // Its standard input when its output is captured or discarded; none when null.
    HANDLE input = nullptr;
    bool noWindow = false; // CREATE_NO_WINDOW
    // Its working folder; empty: this program's.
    std::wstring folder;
};

struct StartedProgram {
    win32::UniqueHandle process, thread;
    // With Output::Captured, the pipe's read end. The program holds the only write end, so a
    // read never waits for this process itself.
    win32::UniqueHandle output;
    // Why it did not start (a system error code); ERROR_SUCCESS when it did.
    DWORD error = ERROR_SUCCESS;

    explicit operator bool() const { return static_cast<bool>(process); }
    // Waits at most `limitMs` for the program to end; its exit code, or STILL_ACTIVE while it
    // runs on.
    DWORD Wait(DWORD limitMs = INFINITE) const;
};

// commandLine: the program's name and its arguments, as CreateProcess takes them. A program
// that cannot be started leaves nothing open.
StartedProgram StartProgram(const std::wstring& commandLine, const StartOptions& options = {});

// A text in the ANSI code page, as CreateProcessA would read it.
std::wstring WideFromAnsi(const std::string& text);

} // namespace testing_support
