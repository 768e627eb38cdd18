#include "text_convert.h"

namespace ntamsel {
namespace {

std::wstring ToWide(UINT codePage, std::string_view text) {
    if (text.empty())
        return {};
    const int needed = MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(size_t(needed > 0 ? needed : 0), L'\0');
    if (needed > 0)
        MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), wide.data(), needed);
    return wide;
}

std::string FromWide(UINT codePage, std::wstring_view text) {
    if (text.empty())
        return {};
    const int needed = WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string narrow(size_t(needed > 0 ? needed : 0), '\0');
    if (needed > 0)
        WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), narrow.data(), needed,
                            nullptr, nullptr);
    return narrow;
}

} // namespace

std::wstring Utf8ToWide(std::string_view text) {
    return ToWide(CP_UTF8, text);
}
std::string WideToUtf8(std::wstring_view text) {
    return FromWide(CP_UTF8, text);
}
std::wstring AnsiToWide(std::string_view text) {
    return ToWide(CP_ACP, text);
}
std::string WideToAnsi(std::wstring_view text) {
    return FromWide(CP_ACP, text);
}

size_t CopyBounded(std::string_view text, char* buffer, size_t size) {
    if (!buffer || size == 0)
        return 0;
    size_t length = text.size();
    if (length >= size) {
        length = size - 1;
        // never leave half a UTF-8 sequence behind
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
            --length;
    }
    text.copy(buffer, length);
    buffer[length] = '\0';
    return length;
}

} // namespace ntamsel
