// Text between the installer, which speaks UTF-16, and the client's settings, which are UTF-8
// lines of comma- or semicolon-separated entries.
#pragma once
#include <string>

namespace setup {

std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& wide);

// Without the spaces and tabs around it.
std::string Trimmed(const std::string& text);

} // namespace setup
