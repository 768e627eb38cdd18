// An owned registry key with the few typed reads and writes the engines need.
#pragma once
#include "unique_resource.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace engine_support {

class RegistryKey {
  public:
    RegistryKey() = default;

    static RegistryKey Open(HKEY root, const std::wstring& path, REGSAM access);
    static RegistryKey Create(HKEY root, const std::wstring& path);
    static bool Exists(HKEY root, const std::wstring& path);
    // True when the key is gone afterwards, also when it was never there.
    static bool DeleteTree(HKEY root, const std::wstring& path);

    explicit operator bool() const { return static_cast<bool>(key_); }
    HKEY get() const { return key_.get(); }

    std::optional<std::wstring> GetString(const wchar_t* name) const;
    std::optional<DWORD> GetDword(const wchar_t* name) const;
    std::optional<std::vector<std::uint8_t>> GetBinary(const wchar_t* name) const;
    std::vector<std::wstring> SubkeyNames() const;
    bool SetString(const wchar_t* name, const std::wstring& value) const;
    bool SetDword(const wchar_t* name, DWORD value) const;
    bool SetBinary(const wchar_t* name, const void* data, DWORD size) const;
    bool DeleteValue(const wchar_t* name) const;
    // Time of the last change to the key or its values; nothing when the key is gone.
    std::optional<std::uint64_t> LastWriteTime() const;

  private:
    explicit RegistryKey(HKEY key) : key_(key) {}
    win32::UniqueKey key_;
};

} // namespace engine_support
