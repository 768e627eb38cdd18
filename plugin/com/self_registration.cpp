// DllRegisterServer and DllUnregisterServer: the registry scripts, the type library, then the
// plug-in's registration with the second engine.
#include "base/hresult_error.h"
#include "catalogue/catalogue.h"
#include "com_thread.h"
#include "engine/component_id.h"
#include "ntamsel.h"
#include "registry_script.h"
#include "server_classes.h"
#include "server_registration.h"
#include "server_resources.h"
#include "settings/client_settings.h"
#include "type_library.h"

#include <objbase.h>

#include <string>

namespace tamsel {
namespace {

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(ModuleInstance(), path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

// Set while DllRegisterServer runs: the registration it makes is the one a renewal would.
bool registeringServer = false;

class RegisteringServer {
  public:
    RegisteringServer() { registeringServer = true; }
    ~RegisteringServer() { registeringServer = false; }
    RegisteringServer(const RegisteringServer&) = delete;
    RegisteringServer& operator=(const RegisteringServer&) = delete;
};

// The settings the query cookie goes to: the client's data directory, found as the client
// finds it. Without one the registration would work but deletions by query never could.
HRESULT FindClientData() {
    char directory[STORE_PATH_SIZE];
    const WORD length = StoreGetDataDirectory(directory);
    wchar_t wide[STORE_PATH_SIZE];
    if (length == 0 || StoreTranslateText(STORE_TRANSLATE_TO_UNICODE, directory, length,
                                          reinterpret_cast<char*>(wide), sizeof wide) == 0)
        return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    const DWORD attributes = GetFileAttributesW(wide);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    return S_OK;
}

// The plug-in's class is registered to this very module.
bool ServerInstalledHere() {
    wchar_t registered[2 * MAX_PATH];
    DWORD size = sizeof registered;
    const std::wstring key = std::wstring(L"CLSID\\") + componentId + L"\\InprocServer32";
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, registered,
                     &size) != ERROR_SUCCESS)
        return false;
    const std::wstring module = ModulePath();
    return !module.empty() &&
           CompareStringOrdinal(registered, -1, module.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// The module's own entries; the first failure ends them.
HRESULT RegisterEntries(const std::wstring& module) {
    const HMODULE self = ModuleInstance();
    RETURN_IF_FAILED(RunScriptResource(self, MODULE_SCRIPT, {{L"APPID", appId}}, true));
    for (const ServerClass& served : ServerClasses())
        RETURN_IF_FAILED(RunScriptResource(self, served.registryScript,
                                           {{L"MODULE", module}, {L"APPID", appId}}, true));
    return RegisterServerTypeLibrary(module);
}

// Removes what it can; the AppID key itself stays.
void UnregisterEntries(const std::wstring& module) {
    const HMODULE self = ModuleInstance();
    for (const ServerClass& served : ServerClasses())
        RunScriptResource(self, served.registryScript, {{L"MODULE", module}, {L"APPID", appId}},
                          false);
    UnregisterServerTypeLibrary(module);
    RunScriptResource(self, MODULE_SCRIPT, {{L"APPID", appId}}, false);
}

} // namespace

HRESULT RenewSecondEngineRegistration() {
    return com_server::Guarded([] {
        const win32::ComForThisThread com;
        UnregisterFromSecondEngine();
        if (registeringServer || !ServerInstalledHere())
            return S_FALSE;
        return RegisterWithSecondEngine(false);
    });
}

} // namespace tamsel

extern "C" HRESULT WINAPI DllRegisterServer(void) {
    return com_server::Guarded([] {
        RETURN_IF_FAILED(tamsel::FindClientData()); // before anything is written
        const tamsel::RegisteringServer registering;
        // The settings' own checks first (a new index of the second engine withdraws), so that
        // they cannot withdraw the registration made below.
        if (!tamsel::SettingsLoaded())
            tamsel::LoadSettings();
        RETURN_IF_FAILED(tamsel::RegisterEntries(tamsel::ModulePath()));
        return tamsel::RegisterWithSecondEngine(false);
    });
}

// Answers the second engine's result, whatever became of the registry entries.
extern "C" HRESULT WINAPI DllUnregisterServer(void) {
    return com_server::Guarded([] {
        tamsel::UnregisterEntries(tamsel::ModulePath());
        return tamsel::UnregisterFromSecondEngine();
    });
}
