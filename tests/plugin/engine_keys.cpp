#include "engine_keys.h"

#include "engines_notice.h"
#include "unique_resource.h"

#include <gtest/gtest.h>

std::wstring ComponentKey(const wchar_t* components) {
    return std::wstring(components) + L"\\{3A71C2E4-5B0D-4F86-9E12-7D4C60A8B1F3}";
}

void CreateComponentKey(const wchar_t* components) {
    win32::UniqueKey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, ComponentKey(components).c_str(), 0, nullptr, 0,
                              KEY_WRITE, nullptr, key.put(), nullptr),
              ERROR_SUCCESS);
    key.reset();
    testing_support::LetEnginesNotice();
}

void DeleteComponentKeys() {
    for (const wchar_t* components : {zendriComponents, orvennaComponents})
        RegDeleteTreeW(HKEY_CURRENT_USER, components);
    testing_support::LetEnginesNotice();
}

std::wstring RegistryText(HKEY root, const std::wstring& key, const wchar_t* name) {
    wchar_t text[512] = {};
    DWORD size = sizeof text;
    if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return L"<none>";
    return text;
}

namespace {
const wchar_t clientKey[] = L"SOFTWARE\\Velmora\\Tamsel";
} // namespace

ClientPathValue::ClientPathValue() : saved_(RegistryText(HKEY_LOCAL_MACHINE, clientKey, L"Path")) {}

ClientPathValue::~ClientPathValue() {
    if (saved_ == L"<none>")
        Remove();
    else
        Set(saved_);
}

void ClientPathValue::Set(const std::wstring& path) {
    ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, clientKey, L"Path", REG_SZ, path.c_str(),
                              DWORD((path.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

void ClientPathValue::Remove() {
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, clientKey, L"Path");
}
