#include "registered_plugin.h"

#include "installed_engines.h"
#include "program_run.h"

#include <windows.h>

#include <stdexcept>

namespace {

// Where the client's installation records the user's data directory.
const wchar_t clientKey[] = L"Software\\Velmora\\Tamsel";

std::wstring Regsvr32(const wchar_t* options) {
    return std::wstring(L"regsvr32.exe /s ") + options + L" \"" +
           testing_support::InstalledEngines::ProgramFolder() + L"TamselDesktop.dll\"";
}

void RunOrThrow(const std::wstring& commandLine, const char* what) {
    const auto run = testing_support::RunProgram(commandLine);
    if (run.exitCode != 0)
        throw std::runtime_error(std::string(what) + ": " + std::to_string(run.exitCode) + "\n" +
                                 run.output);
}

} // namespace

RegisteredPlugin::RegisteredPlugin(const testing_support::TempDir& data) {
    // The client's installation records the user's data directory, where regsvr32 (and the
    // client the URL handler starts) find it.
    RunOrThrow(L"\"" + testing_support::InstalledEngines::ProgramFolder() +
                   L"nltamsel.exe\" --data \"" +
                   std::wstring(data.path().begin(), data.path().end()) + L"\" --install",
               "nltamsel --install");
    RunOrThrow(Regsvr32(L""), "regsvr32 TamselDesktop.dll");
}

RegisteredPlugin::~RegisteredPlugin() {
    testing_support::RunProgram(Regsvr32(L"/u"));
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"AppID\\{0C9E5D37-A6F1-4B28-93D4-E85B12F7C06A}");
    RegDeleteKeyW(HKEY_CLASSES_ROOT, L"AppID\\{0C9E5D37-A6F1-4B28-93D4-E85B12F7C06A}");
    RegDeleteKeyValueW(HKEY_CURRENT_USER, clientKey, L"DataPath");
}
