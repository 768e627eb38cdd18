#include "mail_command.h"

#include <windows.h>

#include <shlwapi.h>

namespace tamsel {
namespace {

constexpr std::wstring_view mailtoScheme = L"mailto:", subjectField = L"?subject=",
                            cutMark = L"...";

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
            return escaped;
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
    command += subjectField;
    if (withField + escapedSubject->size() <= mailCommandLimit)
        return command + *escapedSubject;
    command += CutEscaped(*escapedSubject, mailCommandLimit - cutMark.size() - withField);
    return command + std::wstring(cutMark);
}

} // namespace tamsel
