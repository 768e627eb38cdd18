// Process-wide state of the client library: where its files live and whether it shuts down.
#pragma once
#include <string>

namespace ntamsel {

// The data directory in the client's character set, empty when none is configured.
std::string DataDirectory();
// A file of the data directory, as a path for the wide file functions; empty without one.
std::wstring DataFilePath(const wchar_t* fileName);
bool EchoLogToStdout();
// Tells the program's handler of a failed write to the log or the settings file.
void NoteWrite(const std::wstring& path, bool written);

} // namespace ntamsel
