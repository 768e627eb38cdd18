// Conversions between the client's character set (UTF-8), the platform code page and UTF-16.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace ntamsel {

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);
std::wstring AnsiToWide(std::string_view text);
std::string WideToAnsi(std::wstring_view text);

// Copies text into a buffer of size bytes, always terminated, cut at a UTF-8 character
// boundary when it does not fit. Returns the bytes copied, terminator not counted.
size_t CopyBounded(std::string_view text, char* buffer, size_t size);

} // namespace ntamsel
