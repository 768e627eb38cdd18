#include "mail_command.h"

#include <windows.h>

#include <shlwapi.h>

namespace tamsel {
namespace {

constexpr std::wstring_view mailtoScheme = L"mailto:", subjectField = L"?subject=",
                            cutMark = L"...";

// Characters that mean nothing to a "mailto:" field and that the command check accepts.
bool KeptAsIs(wchar_t c) {
    if ((c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9'))
        return true;
    return std::wstring_view(L"-._~!$()*,;:@/").find(c) != std::wstring_view::npos;
}

// What the system's escaping leaves that a command may not hold or that would end the field
// ("'", "#", "&", "?", "+", "=", blanks), as percent escapes of its UTF-8 bytes.
std::wstring EscapeRest(std::wstring_view escaped) {
    std::wstring out;
    for (size_t at = 0; at < escaped.size(); ++at) {
        const wchar_t c = escaped[at];
        if (KeptAsIs(c) || c == L'%') { // a "%" left is an escape: literal ones were escaped
            out += c;
            continue;
        }
        const bool pair =
            IS_HIGH_SURROGATE(c) && at + 1 < escaped.size() && IS_LOW_SURROGATE(escaped[at + 1]);
        char bytes[8];
        const int count = WideCharToMultiByte(CP_UTF8, 0, &escaped[at], pair ? 2 : 1, bytes,
                                              sizeof bytes, nullptr, nullptr);
        at += pair ? 1 : 0;
        constexpr wchar_t digits[] = L"0123456789ABCDEF";
        for (int n = 0; n < count; ++n) {
            const auto byte = static_cast<unsigned char>(bytes[n]);
            out += {L'%', digits[byte >> 4], digits[byte & 15]};
        }
    }
    return out;
}

// Percent-escaped UTF-8, so that names outside the platform code page survive; a literal "%"
// is escaped too, so that the handler's unescaping gives back the text as it was.
std::optional<std::wstring> UrlEscaped(std::wstring_view text) {
    const std::wstring source(text);
    constexpr DWORD flags = URL_ESCAPE_SEGMENT_ONLY | URL_ESCAPE_AS_UTF8 | URL_ESCAPE_PERCENT;
    std::wstring escaped(512, L'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        DWORD size = DWORD(escaped.size());
        const HRESULT hr = UrlEscapeW(source.c_str(), escaped.data(), &size, flags);
        if (SUCCEEDED(hr)) {
            escaped.resize(size);
            return EscapeRest(escaped);
        }
        if (hr != E_POINTER || size <= escaped.size())
            return std::nullopt;
        escaped.resize(size); // the size it asked for, with room for the terminator
    }
    return std::nullopt;
}

int HexValue(wchar_t digit) {
    if (digit >= L'0' && digit <= L'9')
        return digit - L'0';
    if (digit >= L'A' && digit <= L'F')
        return digit - L'A' + 10;
    if (digit >= L'a' && digit <= L'f')
        return digit - L'a' + 10;
    return -1;
}

// Where the escaped character starting at pos ends: one "%XX" for an ASCII byte, or the
// whole run of escapes that one UTF-8 sequence takes.
size_t CharacterEnd(std::wstring_view text, size_t pos) {
    if (text[pos] != L'%' || pos + 3 > text.size())
        return pos + 1;
    const int high = HexValue(text[pos + 1]), low = HexValue(text[pos + 2]);
    if (high < 0 || low < 0)
        return pos + 1;
    const int lead = high * 16 + low;
    const int following = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    size_t end = pos + 3;
    for (int n = 0; n < following && end + 3 <= text.size() && text[end] == L'%'; ++n)
        end += 3;
    return end;
}

// The longest start of an escaped text within the limit that splits neither an escape nor
// a character.
std::wstring_view CutEscaped(std::wstring_view text, size_t limit) {
    size_t end = 0;
    while (end < text.size()) {
        const size_t next = CharacterEnd(text, end);
        if (next > limit)
            break;
        end = next;
    }
    return text.substr(0, end);
}

} // namespace

std::optional<std::wstring> BuildMailCommand(std::wstring_view recipients,
                                             const std::optional<std::wstring>& subject) {
    const std::optional<std::wstring> escapedRecipients = UrlEscaped(recipients);
    if (!escapedRecipients)
        return std::nullopt;
    std::wstring command = std::wstring(mailtoScheme) + *escapedRecipients;
    if (command.size() > mailCommandLimit)
        return std::nullopt;
    if (!subject)
        return command;
    const size_t withField = command.size() + subjectField.size();
    if (withField > mailCommandLimit)
        return command;
    const std::optional<std::wstring> escapedSubject = UrlEscaped(*subject);
    if (!escapedSubject)
        return command;
    if (withField + escapedSubject->size() <= mailCommandLimit)
        return command + std::wstring(subjectField) + *escapedSubject;
    // Not even a cut subject fits: the recipients alone.
    if (withField + cutMark.size() > mailCommandLimit)
        return command;
    command += subjectField;
    command += CutEscaped(*escapedSubject, mailCommandLimit - cutMark.size() - withField);
    return command + std::wstring(cutMark);
}

} // namespace tamsel
