// The settings file's text: "[Tamsel]" then one "Name=Value" line per variable. Names
// compare without regard to case; lines this code does not understand are kept as they are.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace ntamsel {

std::optional<std::string> FindSetting(std::string_view fileText, std::string_view name);
// The file text with the variable set to value, or removed when value is empty.
std::string WithSetting(std::string_view fileText, std::string_view name, std::string_view value);
// A name that can be stored: not empty, no '=', no line break, no leading '[' or ';'.
bool IsValidSettingName(std::string_view name);
// Reads an integer variable: optional sign and decimal digits, clamped to 32 bits; any other
// text reads as 0.
long ParseSettingInt(std::string_view text);

} // namespace ntamsel
