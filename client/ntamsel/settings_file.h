// The settings file on disk: every read sees the file as it is now, every write replaces it
// whole and atomically, and processes sharing the file take turns through a named mutex.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace ntamsel {

std::optional<std::string> ReadSetting(std::string_view name);
// Sets (or with an empty value removes) a variable. False when the file cannot be written.
bool WriteSetting(std::string_view name, std::string_view value);

} // namespace ntamsel
