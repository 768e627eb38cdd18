// UTF-8 for the index files, UTF-16 for Windows and COM.
#pragma once
#include <string>
#include <string_view>

namespace engine_support {

std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view text);

} // namespace engine_support
