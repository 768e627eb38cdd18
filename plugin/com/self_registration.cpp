// DllRegisterServer and DllUnregisterServer: the registry scripts, the type library, then the
// plug-in's registration with the second engine.
#include "base/hresult_error.h"
#include "catalogue/catalogue.h"
#include "registry_script.h"
#include "server_classes.h"
#include "server_registration.h"
#include "server_resources.h"
#include "type_library.h"

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
} // namespace tamsel

extern "C" HRESULT WINAPI DllRegisterServer(void) {
    try {
        RETURN_IF_FAILED(tamsel::RegisterEntries(tamsel::ModulePath()));
        return tamsel::RegisterWithSecondEngine(false);
    } catch (const tamsel::HResultError& error) {
        return error.code;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

// Answers the second engine's result, whatever became of the registry entries.
extern "C" HRESULT WINAPI DllUnregisterServer(void) {
    try {
        tamsel::UnregisterEntries(tamsel::ModulePath());
        return tamsel::UnregisterFromSecondEngine();
    } catch (const tamsel::HResultError& error) {
        return error.code;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}
