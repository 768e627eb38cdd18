#include "class_table.h"

#include "com_server.h"
#include "support/registry_key.h"

#include <olectl.h>

#include <string>

namespace engine_com {

using engine_support::RegistryKey;

namespace {

std::wstring ClassKeyPath(const CLSID& clsid) {
    wchar_t text[40] = {};
    StringFromGUID2(clsid, text, 40);
    return std::wstring(L"CLSID\\") + text;
}

std::wstring ModulePath(HMODULE module) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

} // namespace

HRESULT GetClassObject(std::span<const ClassEntry> classes, REFCLSID clsid, REFIID iid,
                       void** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    for (const ClassEntry& entry : classes) {
        if (entry.clsid != clsid)
            continue;
        return com_server::CreateClassFactory(entry.create, iid, out);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT RegisterClasses(std::span<const ClassEntry> classes, HMODULE module) {
    const std::wstring path = ModulePath(module);
    for (const ClassEntry& entry : classes) {
        const std::wstring key = ClassKeyPath(entry.clsid);
        RegistryKey::DeleteTree(HKEY_CLASSES_ROOT, key);
        RegistryKey classKey = RegistryKey::Create(HKEY_CLASSES_ROOT, key);
        RegistryKey server = RegistryKey::Create(HKEY_CLASSES_ROOT, key + L"\\InprocServer32");
        if (!classKey || !server)
            return SELFREG_E_CLASS;
        if (!classKey.SetString(L"", entry.name) || !server.SetString(L"", path) ||
            !server.SetString(L"ThreadingModel", L"Both"))
            return SELFREG_E_CLASS;
    }
    return S_OK;
}

HRESULT UnregisterClasses(std::span<const ClassEntry> classes, HMODULE module) {
    const std::wstring path = ModulePath(module);
    for (const ClassEntry& entry : classes) {
        const std::wstring key = ClassKeyPath(entry.clsid);
        const RegistryKey server =
            RegistryKey::Open(HKEY_CLASSES_ROOT, key + L"\\InprocServer32", KEY_READ);
        if (!server)
            continue;
        if (_wcsicmp(server.GetString(L"").value_or(L"").c_str(), path.c_str()) != 0)
            continue;
        RegistryKey::DeleteTree(HKEY_CLASSES_ROOT, key);
    }
    return S_OK;
}

} // namespace engine_com
