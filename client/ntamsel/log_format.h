// Formats one log message of the catalogue. Directives: %s text, %d int, %X unsigned in
// upper-case hexadecimal, %y a pointer to a client time value, %% a percent sign.
#pragma once
#include <cstdarg>
#include <optional>
#include <string>
#include <string_view>

struct STORETIME;

namespace ntamsel {

// Empty when the text holds a directive this log does not know; the caller then writes the
// raw text. The arguments are read only up to the first unknown directive.
std::optional<std::string> FormatLogText(std::string_view format, va_list arguments);
std::string DescribeTime(const STORETIME* time);
const char* StatusText(unsigned short status);

} // namespace ntamsel
