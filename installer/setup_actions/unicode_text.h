// The installer speaks UTF-16, the client's settings UTF-8.
#pragma once
#include <string>

namespace setup {

std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& wide);

} // namespace setup
