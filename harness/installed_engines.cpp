#include "installed_engines.h"

#include "engines_notice.h"

#include <windows.h>

#include <stdexcept>

namespace testing_support {
namespace {

const wchar_t engineKey[] = L"Software\\Zendri\\DesktopSearch";
const wchar_t switchesKey[] = L"Software\\Zendri\\DesktopSearch\\Test";
const wchar_t* const engineDlls[] = {L"ZendriDS.dll", L"OrvennaDesktop.dll"};
const wchar_t* const componentKeys[] = {L"Software\\Zendri\\DesktopSearch\\Components",
                                        L"Software\\Orvenna\\Orvenna Desktop\\Components"};

void Run(const std::wstring& commandLine) {
    const ProgramRun run = RunProgram(commandLine);
    if (run.exitCode != 0)
        throw std::runtime_error("failed: " + std::string(commandLine.begin(), commandLine.end()) +
                                 "\n" + run.output);
}

void SetIndexFolder(const std::string& path) {
    const std::wstring folder(path.begin(), path.end());
    RegSetKeyValueW(HKEY_CURRENT_USER, engineKey, L"IndexFolder", REG_SZ, folder.c_str(),
                    DWORD((folder.size() + 1) * sizeof(wchar_t)));
}

} // namespace

InstalledEngines::InstalledEngines() {
    SetIndexFolder(folder_);
    ClearSwitches();
    for (const wchar_t* key : componentKeys)
        RegDeleteTreeW(HKEY_CURRENT_USER, key);
    for (const wchar_t* dll : engineDlls)
        Run(L"regsvr32.exe /s \"" + ProgramFolder() + dll + L"\"");
    Run(L"\"" + ProgramFolder() + L"nltamsel.exe\" --install");
}

InstalledEngines::~InstalledEngines() {
    ClearSwitches();
    for (const wchar_t* dll : engineDlls)
        RunProgram(L"regsvr32.exe /s /u \"" + ProgramFolder() + dll + L"\"");
    for (const wchar_t* key : componentKeys)
        RegDeleteTreeW(HKEY_CURRENT_USER, key);
}

void InstalledEngines::MoveIndexTo(const std::string& folder) {
    folder_ = folder;
    SetIndexFolder(folder_);
    LetEnginesNotice();
}

ProgramRun InstalledEngines::Zsearch(const std::wstring& arguments) const {
    return RunProgram(L"\"" + ProgramFolder() + L"zsearch.exe\" " + arguments);
}

void InstalledEngines::SetSwitch(const wchar_t* name, DWORD value) {
    RegSetKeyValueW(HKEY_CURRENT_USER, switchesKey, name, REG_DWORD, &value, sizeof value);
    LetEnginesNotice();
}

void InstalledEngines::SetSwitch(const wchar_t* name, const std::wstring& text) {
    RegSetKeyValueW(HKEY_CURRENT_USER, switchesKey, name, REG_SZ, text.c_str(),
                    DWORD((text.size() + 1) * sizeof(wchar_t)));
    LetEnginesNotice();
}

void InstalledEngines::ClearSwitches() {
    RegDeleteTreeW(HKEY_CURRENT_USER, switchesKey);
    LetEnginesNotice();
}

std::wstring InstalledEngines::ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

} // namespace testing_support
