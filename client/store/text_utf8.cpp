#include "text_utf8.h"

namespace store {

size_t Utf8SequenceLength(std::string_view text) {
    if (text.empty())
        return 0;
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    size_t length;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else
        return 0;
    if (text.size() < length || byte(1) < low || byte(1) > high)
        return 0;
    for (size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF)
            return 0;
    return length;
}

bool IsValidUtf8(std::string_view text) {
    for (size_t at = 0; at < text.size();) {
        if (static_cast<unsigned char>(text[at]) < 0x80) {
            ++at;
            continue;
        }
        const size_t length = Utf8SequenceLength(text.substr(at));
        if (length == 0)
            return false;
        at += length;
    }
    return true;
}

std::string SanitizeUtf8(std::string_view text) {
    if (IsValidUtf8(text))
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        size_t length = Utf8SequenceLength(text);
        if (length == 0) {
            out += "\xEF\xBF\xBD";
            length = 1;
        } else
            out.append(text.substr(0, length));
        text.remove_prefix(length);
    }
    return out;
}

size_t Utf8FitLength(std::string_view text, size_t maxBytes) {
    if (text.size() <= maxBytes)
        return text.size();
    size_t end = maxBytes;
    // Step back over continuation bytes to the start of the character that would be split.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80 && maxBytes - end < 3)
        --end;
    return end;
}

int HexDigit(char c) {
    return c >= '0' && c <= '9'   ? c - '0'
           : c >= 'a' && c <= 'f' ? c - 'a' + 10
           : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                  : -1;
}

size_t Utf8PreviousStart(std::string_view text, size_t offset) {
    if (offset == 0 || offset > text.size())
        return 0;
    for (size_t back = 1; back <= 4 && back <= offset; ++back) {
        const size_t start = offset - back;
        if (Utf8SequenceLength(text.substr(start)) == back)
            return start;
    }
    return offset - 1;
}

} // namespace store
