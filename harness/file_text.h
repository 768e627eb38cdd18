// A file's whole text, read or written in one call; the same on Windows and in the native
// build of the store's tests.
#pragma once
#include <string>

namespace testing_support {

// Empty when the file cannot be read.
std::string ReadFileText(const std::string& path);
void WriteFileText(const std::string& path, const std::string& text);

} // namespace testing_support
