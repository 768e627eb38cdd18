// Runs the real client program with the real plug-in in a scratch data directory.
#pragma once
#include "temp_dir.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct ClientRun {
    int exitCode = -1;
    std::string output;
    std::vector<std::string> logLines; // the client's log without time stamps
};

constexpr unsigned killedExitCode = 99;

// Runs nltamsel.exe --data DIR --headless with the given extra arguments and waits for it;
// kills it (exit code killedExitCode) when it runs longer than killAfterMs, or as soon as
// `killNow` (asked every 20 ms) says so, as a crash would.
ClientRun RunClient(const testing_support::TempDir& data, const std::string& arguments,
                    DWORD killAfterMs = 120000, const std::function<bool()>& killNow = {});
// Writes a settings file listing the plug-in as a menu add-in, plus extra lines.
void WriteClientSettings(const testing_support::TempDir& data, const std::string& extraLines = "");
bool Contains(const std::vector<std::string>& lines, const std::string& line);
