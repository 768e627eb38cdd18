#include "url_protocols.h"

#include "unique_resource.h"

#include <windows.h>

namespace nltamsel {
namespace {

bool SetText(HKEY key, const wchar_t* name, const std::wstring& text) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          DWORD((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool RegisterProtocol(const wchar_t* scheme, const wchar_t* title, const std::wstring& command) {
    win32::UniqueKey protocol, open;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, scheme, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        protocol.put(), nullptr) != ERROR_SUCCESS ||
        RegCreateKeyExW(protocol.get(), L"shell\\open\\command", 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, open.put(), nullptr) != ERROR_SUCCESS)
        return false;
    return SetText(protocol.get(), nullptr, title) &&
           SetText(protocol.get(), L"URL Protocol", L"") && SetText(open.get(), nullptr, command);
}

} // namespace

bool RegisterUrlProtocols(const std::wstring& program) {
    const std::wstring command = L"\"" + program + L"\" --url \"%1\"";
    return RegisterProtocol(L"Tamsel", L"URL:Velmora Tamsel Document", command) &&
           RegisterProtocol(L"mailto", L"URL:MailTo Protocol", command);
}

} // namespace nltamsel
