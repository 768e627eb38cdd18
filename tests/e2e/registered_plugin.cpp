#include "registered_plugin.h"

#include "installed_engines.h"
#include "program_run.h"

#include <windows.h>

#include <stdexcept>

namespace {

std::wstring Regsvr32(const wchar_t* options) {
    return std::wstring(L"regsvr32.exe /s ") + options + L" \"" +
           testing_support::InstalledEngines::ProgramFolder() + L"TamselDesktop.dll\"";
}

} // namespace

RegisteredPlugin::RegisteredPlugin(const testing_support::TempDir& data) {
    // regsvr32 inherits the data directory, as it would find the installed client's.
    SetEnvironmentVariableA("TAMSEL_DATA", data.path().c_str());
    const auto run = testing_support::RunProgram(Regsvr32(L""));
    if (run.exitCode != 0)
        throw std::runtime_error("regsvr32 TamselDesktop.dll: " + std::to_string(run.exitCode));
}

RegisteredPlugin::~RegisteredPlugin() {
    testing_support::RunProgram(Regsvr32(L"/u"));
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"AppID\\{0C9E5D37-A6F1-4B28-93D4-E85B12F7C06A}");
    RegDeleteKeyW(HKEY_CLASSES_ROOT, L"AppID\\{0C9E5D37-A6F1-4B28-93D4-E85B12F7C06A}");
}
