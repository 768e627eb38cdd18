#include "url_handler.h"

#include <shellapi.h>

#include <string>

namespace tamsel {
namespace {

constexpr std::wstring_view documentScheme = L"tamsel:", mailScheme = L"mailto:";

bool StartsWithScheme(std::wstring_view text, std::wstring_view scheme) {
    return text.size() > scheme.size() &&
           CompareStringOrdinal(text.data(), int(scheme.size()), scheme.data(), int(scheme.size()),
                                TRUE) == CSTR_EQUAL;
}

// What a URL may hold: letters, digits and the URL punctuation the commands use.
bool IsUrlCharacter(wchar_t c) {
    if ((c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9'))
        return true;
    return std::wstring_view(L"-._~:/?#@!$()*+,;=%[]").find(c) != std::wstring_view::npos;
}

} // namespace

UrlHandler urlHandler = {ShellExecuteA};

bool IsActionCommand(std::wstring_view command) {
    if (!StartsWithScheme(command, documentScheme) && !StartsWithScheme(command, mailScheme))
        return false;
    for (const wchar_t c : command)
        if (!IsUrlCharacter(c))
            return false;
    return true;
}

HRESULT StartActionCommand(std::wstring_view command) {
    if (!IsActionCommand(command))
        return E_INVALIDARG;
    // Plain ASCII, so the conversion to the platform code page is exact.
    const std::string parameters =
        "url.dll,FileProtocolHandler " + std::string(command.begin(), command.end());
    const auto started = reinterpret_cast<INT_PTR>(urlHandler.shellExecute(
        nullptr, "open", "rundll32.exe", parameters.c_str(), nullptr, SW_SHOWNORMAL));
    // ShellExecute answers a value above 32 when it started the program.
    return started > 32 ? S_OK : E_FAIL;
}

} // namespace tamsel
