#include "journal_scan.h"

namespace store {
namespace {

bool Take(std::string_view& text, std::string_view expected) {
    if (text.substr(0, expected.size()) != expected)
        return false;
    text.remove_prefix(expected.size());
    return true;
}

std::optional<uint32_t> TakeNumber(std::string_view& text) {
    uint64_t value = 0;
    size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9' && digits < 10)
        value = value * 10 + static_cast<unsigned>(text[digits++] - '0');
    if (digits == 0 || value > 0xFFFFFFFF)
        return std::nullopt;
    text.remove_prefix(digits);
    return static_cast<uint32_t>(value);
}

} // namespace

std::optional<uint32_t> LeadingNoteId(std::string_view line) {
    if (!Take(line, "{\"note\":"))
        return std::nullopt;
    return TakeNumber(line);
}

std::optional<RecordSummary> ScanNotePrefix(std::string_view line) {
    RecordSummary summary;
    auto id = Take(line, "{\"note\":") ? TakeNumber(line) : std::nullopt;
    auto noteClass = id && Take(line, ",\"class\":") ? TakeNumber(line) : std::nullopt;
    if (!noteClass || *noteClass > 0xFFFF || !Take(line, ",\"modified\":\""))
        return std::nullopt;
    const size_t quote = line.find('"');
    if (quote == std::string_view::npos || quote > 64)
        return std::nullopt;
    auto modified = TextToTime(line.substr(0, quote));
    if (!modified)
        return std::nullopt;
    line.remove_prefix(quote + 1);
    summary.deleted = Take(line, ",\"deleted\":true");
    if (!Take(line, ",\"oid\":"))
        return std::nullopt;
    summary.noteId = *id;
    summary.noteClass = static_cast<uint16_t>(*noteClass);
    summary.modified = *modified;
    return summary;
}

} // namespace store
