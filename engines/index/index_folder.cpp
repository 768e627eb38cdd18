#include "index_folder.h"

#include "support/registry_key.h"

#include <shlobj.h>

namespace engine_index {

std::wstring DefaultIndexFolder() {
    wchar_t base[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, base)))
        return L"ZendriDS\\Index";
    return std::wstring(base) + L"\\ZendriDS\\Index";
}

std::wstring IndexFolder() {
    const auto key = engine_support::RegistryKey::Open(HKEY_CURRENT_USER, kEngineKey, KEY_READ);
    if (key) {
        auto folder = key.GetString(kIndexFolderValue);
        if (folder && !folder->empty())
            return *folder;
    }
    return DefaultIndexFolder();
}

} // namespace engine_index
