#include "registry_key.h"

namespace engine_support {

RegistryKey RegistryKey::Open(HKEY root, const std::wstring& path, REGSAM access) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, access, &key) != ERROR_SUCCESS)
        return RegistryKey();
    return RegistryKey(key);
}

RegistryKey RegistryKey::Create(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return RegistryKey();
    return RegistryKey(key);
}

bool RegistryKey::Exists(HKEY root, const std::wstring& path) {
    return static_cast<bool>(Open(root, path, KEY_QUERY_VALUE));
}

bool RegistryKey::DeleteTree(HKEY root, const std::wstring& path) {
    const LSTATUS status = RegDeleteTreeW(root, path.c_str());
    if (status == ERROR_FILE_NOT_FOUND)
        return true;
    if (status != ERROR_SUCCESS)
        return false;
    // RegDeleteTree empties the key; the key itself goes with RegDeleteKey.
    const LSTATUS removed = RegDeleteKeyW(root, path.c_str());
    return removed == ERROR_SUCCESS || removed == ERROR_FILE_NOT_FOUND;
}

std::optional<std::wstring> RegistryKey::GetString(const wchar_t* name) const {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key_.get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key_.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                         &size) != ERROR_SUCCESS)
        return std::nullopt;
    text.resize(size / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0')
        text.pop_back();
    return text;
}

std::optional<DWORD> RegistryKey::GetDword(const wchar_t* name) const {
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegQueryValueExW(key_.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value),
                         &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
        return std::nullopt;
    return value;
}

std::optional<std::vector<std::uint8_t>> RegistryKey::GetBinary(const wchar_t* name) const {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key_.get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_BINARY)
        return std::nullopt;
    std::vector<std::uint8_t> data(size);
    if (RegQueryValueExW(key_.get(), name, nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    data.resize(size);
    return data;
}

std::vector<std::wstring> RegistryKey::SubkeyNames() const {
    std::vector<std::wstring> names;
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = 256;
        if (RegEnumKeyExW(key_.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            return names;
        names.emplace_back(name, length);
    }
}

bool RegistryKey::SetString(const wchar_t* name, const std::wstring& value) const {
    return RegSetValueExW(key_.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) ==
           ERROR_SUCCESS;
}

bool RegistryKey::SetDword(const wchar_t* name, DWORD value) const {
    return RegSetValueExW(key_.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof value) == ERROR_SUCCESS;
}

bool RegistryKey::SetBinary(const wchar_t* name, const void* data, DWORD size) const {
    return RegSetValueExW(key_.get(), name, 0, REG_BINARY, static_cast<const BYTE*>(data), size) ==
           ERROR_SUCCESS;
}

bool RegistryKey::DeleteValue(const wchar_t* name) const {
    const LSTATUS status = RegDeleteValueW(key_.get(), name);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

std::optional<std::uint64_t> RegistryKey::LastWriteTime() const {
    FILETIME written = {};
    if (RegQueryInfoKeyW(key_.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr, nullptr, &written) != ERROR_SUCCESS)
        return std::nullopt;
    return (static_cast<std::uint64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
}

} // namespace engine_support
