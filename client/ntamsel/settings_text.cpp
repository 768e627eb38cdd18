#include "settings_text.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <vector>

namespace ntamsel {
namespace {

constexpr std::string_view sectionHeader = "[Tamsel]";

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

// The name of a "Name=Value" line, or empty for any other line (comments, sections).
std::string_view LineName(std::string_view line) {
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos || line.starts_with(';') || line.starts_with('['))
        return {};
    return Trim(line.substr(0, equals));
}

std::string OneLine(std::string_view value) {
    std::string flat(value);
    std::replace_if(
        flat.begin(), flat.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return flat;
}

} // namespace

std::optional<std::string> FindSetting(std::string_view fileText, std::string_view name) {
    for (std::string_view line : SplitLines(fileText)) {
        if (!SameName(LineName(line), name))
            continue;
        std::string_view value = line.substr(line.find('=') + 1);
        if (value.empty())
            return std::nullopt;
        return std::string(value);
    }
    return std::nullopt;
}

std::string WithSetting(std::string_view fileText, std::string_view name, std::string_view value) {
    std::vector<std::string> out;
    bool written = false;
    bool haveSection = false;
    for (std::string_view line : SplitLines(fileText)) {
        haveSection = haveSection || SameName(Trim(line), sectionHeader);
        if (!SameName(LineName(line), name)) {
            out.emplace_back(line);
            continue;
        }
        if (!written && !value.empty())
            out.push_back(std::string(name) + "=" + OneLine(value));
        written = true;
    }
    if (!written && !value.empty()) {
        if (!haveSection)
            out.insert(out.begin(), std::string(sectionHeader));
        out.push_back(std::string(name) + "=" + OneLine(value));
    }
    std::string text;
    for (const std::string& line : out)
        text += line + "\r\n";
    return text;
}

bool IsValidSettingName(std::string_view name) {
    return !name.empty() && name.find_first_of("=\r\n") == std::string_view::npos &&
           Trim(name) == name && name.front() != '[' && name.front() != ';';
}

long ParseSettingInt(std::string_view text) {
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return 0;
    long long magnitude = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return 0;
        magnitude = std::min<long long>(magnitude * 10 + (c - '0'), 1LL << 32);
    }
    const long long value = negative ? -magnitude : magnitude;
    return static_cast<long>(std::clamp<long long>(value, LONG_MIN, LONG_MAX));
}

} // namespace ntamsel
