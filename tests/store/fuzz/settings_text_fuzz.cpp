// Any bytes as the settings file, a name and a value (the first two lines of the input):
// reading must not crash, and a variable written with a valid name must read back as written
// while every other variable keeps its value.
#include "settings_text.h"

#include <algorithm>
#include <cstdlib>

namespace {

std::string_view NextLine(std::string_view& input) {
    const size_t end = std::min(input.find('\n'), input.size());
    const std::string_view line = input.substr(0, end);
    input.remove_prefix(std::min(end + 1, input.size()));
    return line;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string_view name = NextLine(input);
    const std::string_view value = NextLine(input);
    const std::string_view file = input;
    ntamsel::ParseSettingInt(value);
    const auto before = ntamsel::FindSetting(file, "DesktopSearchFilePath");
    if (!ntamsel::IsValidSettingName(name))
        return 0;
    const std::string written = ntamsel::WithSetting(file, name, value);
    // A value is stored on one line.
    std::string expected(value);
    std::replace(expected.begin(), expected.end(), '\r', ' ');
    const auto readBack = ntamsel::FindSetting(written, name);
    if (value.empty() ? readBack.has_value() : readBack != expected)
        std::abort();
    const bool sameName = ntamsel::FindSetting("[Tamsel]\nDesktopSearchFilePath=x", name) == "x";
    if (!sameName && ntamsel::FindSetting(written, "DesktopSearchFilePath") != before)
        std::abort();
    return 0;
}
