// Reads a file whole while others may go on reading, writing or deleting it.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace win32 {

// The file's bytes, whole and unchanged: a stray end-of-file character does not end the text.
// `flags` are CreateFile's (FILE_FLAG_DELETE_ON_CLOSE, ...). Nothing when the file cannot be
// opened.
std::optional<std::string> ReadWholeFile(const char* path, DWORD flags = 0);
std::optional<std::string> ReadWholeFile(const wchar_t* path, DWORD flags = 0);

} // namespace win32
