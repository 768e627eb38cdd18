// The package's own steps. Two immediate ones plan, while nothing is changed yet: PlanInstall
// (install, repair, upgrade) and PlanRemoval (uninstall). They hand each deferred step its data
// and the data that undoes it, so that a failure anywhere rolls the settings and the
// registration back to what they were.
#include "action_data.h"
#include "addin_list.h"
#include "client_library.h"
#include "com_thread.h"
#include "installer_session.h"
#include "presets.h"
#include "setup_error.h"
#include "unicode_text.h"

#include <objbase.h>

namespace setup {
namespace {

constexpr wchar_t pluginModule[] = L"TamselDesktop.dll";

// Where the client is (the package found it through the client's "Path"), ending in "\".
std::wstring ClientFolder(MSIHANDLE install) {
    std::wstring folder = Property(install, L"CLIENTDIR");
    if (!folder.empty() && folder.back() != L'\\')
        folder += L'\\';
    return folder;
}

std::wstring FolderOf(const std::wstring& module) {
    return module.substr(0, module.find_last_of(L'\\') + 1);
}

std::vector<SettingChange> Undoing(const std::vector<SettingChange>& changes,
                                   const ClientLibrary& client) {
    std::vector<SettingChange> undo;
    for (const SettingChange& change : changes)
        undo.push_back({change.name, client.Read(change.name).value_or("")});
    return undo;
}

// The deferred step's data and the data of the step that undoes it, both under their names.
void Schedule(MSIHANDLE install, const wchar_t* step, const wchar_t* undoStep,
              const ActionData& data, const ActionData& undo) {
    SetProperty(install, step, Wide(Encode(data)));
    SetProperty(install, undoStep, Wide(Encode(undo)));
}

ActionData DeferredData(MSIHANDLE install) {
    return Decode(Utf8(Property(install, L"CustomActionData")));
}

std::wstring Hex(HRESULT result) {
    wchar_t text[16];
    wsprintfW(text, L"0x%08X", unsigned(result));
    return text;
}

// DllRegisterServer or DllUnregisterServer of the installed plug-in, as regsvr32 would call
// it, with the client's library told the user's data directory first (the registration writes
// the second engine's query cookie to the user's settings).
HRESULT CallServerEntry(const ActionData& data, const char* entry) {
    const ClientLibrary client(FolderOf(Wide(data.module)));
    if (!data.dataDirectory.empty())
        client.UseDataDirectory(data.dataDirectory);
    const win32::ComForThisThread com;
    const win32::UniqueLibrary plugin(
        LoadLibraryExW(Wide(data.module).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    if (!plugin)
        return HRESULT_FROM_WIN32(GetLastError());
    using ServerEntry = HRESULT(WINAPI*)();
    const auto call = reinterpret_cast<ServerEntry>(
        reinterpret_cast<void*>(GetProcAddress(plugin.get(), entry)));
    return call ? call() : HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
}

} // namespace
} // namespace setup

using namespace setup;

extern "C" UINT WINAPI PlanInstall(MSIHANDLE install) {
    return Guarded(install, [&] {
        const std::wstring folder = ClientFolder(install);
        const ClientLibrary client(folder);
        const std::string data = client.DataDirectory();
        if (data.empty())
            throw SetupError{L"The Velmora Tamsel client has not been set up for this user (it "
                             L"has no data directory): start the client once, then install "
                             L"Tamsel Desktop Search again."};
        client.UseDataDirectory(data);
        std::vector<SettingChange> changes{
            {addInListVariable, WithAddIn(client.Read(addInListVariable).value_or(""))}};
        const auto property = [&](const char* name) { return Utf8(Property(install, Wide(name).c_str())); };
        const auto setting = [&](const std::string& name) { return client.Read(name); };
        for (SettingChange& preset : PresetChanges(property, data, setting))
            changes.push_back(std::move(preset));
        const ActionData plugin{data, Utf8(folder + pluginModule), {}};
        Schedule(install, L"WriteClientSettings", L"UndoClientSettings",
                 {data, plugin.module, changes}, {data, plugin.module, Undoing(changes, client)});
        Schedule(install, L"RegisterPlugin", L"UndoRegisterPlugin", plugin, plugin);
        Log(install, L"the client's settings in " + Wide(data) + L": " +
                         std::to_wstring(changes.size()) + L" variables to write");
    });
}

extern "C" UINT WINAPI PlanRemoval(MSIHANDLE install) {
    return Guarded(install, [&] {
        const std::wstring folder = ClientFolder(install);
        ActionData plugin{"", Utf8(folder + pluginModule), {}};
        ActionData removal = plugin;
        ActionData undo = plugin;
        try {
            const ClientLibrary client(folder);
            plugin.dataDirectory = client.DataDirectory();
            if (!plugin.dataDirectory.empty()) {
                client.UseDataDirectory(plugin.dataDirectory);
                const std::string list = client.Read(addInListVariable).value_or("");
                removal = {plugin.dataDirectory, plugin.module,
                           {{addInListVariable, WithoutAddIn(list)}}};
                undo = {plugin.dataDirectory, plugin.module, {{addInListVariable, list}}};
            }
        } catch (const SetupError& error) {
            // The client went first: nothing of ours is left in its settings to take out.
            Log(install, error.message + L" The client's settings are left as they are.");
        }
        Schedule(install, L"RemoveFromClient", L"UndoRemoveFromClient", removal, undo);
        Schedule(install, L"UnregisterPlugin", L"UndoUnregisterPlugin", plugin, plugin);
        SetProperty(install, L"RemovePluginAtRestart", Wide(Encode(plugin)));
    });
}

// Writes the planned variables through the client's library. Every one is tried, so that an
// undo restores all it can; the first failure then fails the step.
extern "C" UINT WINAPI ApplyClientSettings(MSIHANDLE install) {
    return Guarded(install, [&] {
        const ActionData data = DeferredData(install);
        if (data.changes.empty())
            return;
        const ClientLibrary client(FolderOf(Wide(data.module)));
        client.UseDataDirectory(data.dataDirectory);
        STORESTATUS failed = STORE_NOERROR;
        for (const SettingChange& change : data.changes) {
            const STORESTATUS status = client.Write(change.name, change.value);
            Log(install, Wide(change.name) + L"=" + Wide(change.value) +
                             (status ? L" not written, status " + std::to_wstring(status) : L""));
            if (status && !failed)
                failed = status;
        }
        if (failed)
            throw SetupError{L"The Velmora Tamsel client's settings file in " +
                             Wide(data.dataDirectory) + L" cannot be written (status " +
                             std::to_wstring(failed) + L"); nothing has been installed."};
    });
}

extern "C" UINT WINAPI RegisterPlugin(MSIHANDLE install) {
    return Guarded(install, [&] {
        const ActionData data = DeferredData(install);
        const HRESULT result = CallServerEntry(data, "DllRegisterServer");
        if (result == REGDB_E_CLASSNOTREG) {
            // The COM server is registered; only the second engine, which is not installed,
            // does not know the result actions. The plug-in registers them with it later.
            Log(install, L"the second search engine is not installed: the plug-in is "
                         L"registered without its result actions");
            return;
        }
        if (FAILED(result))
            throw SetupError{L"Tamsel Desktop Search cannot be registered (DllRegisterServer of " +
                             Wide(data.module) + L" failed with " + Hex(result) + L")."};
        Log(install, L"registered " + Wide(data.module));
    });
}

// Never fails the uninstall, nor stops it with a message: what cannot be unregistered is logged.
extern "C" UINT WINAPI UnregisterPlugin(MSIHANDLE install) {
    Guarded(install, [&] {
        const ActionData data = DeferredData(install);
        try {
            const HRESULT result = CallServerEntry(data, "DllUnregisterServer");
            Log(install, L"DllUnregisterServer of " + Wide(data.module) + L": " + Hex(result));
        } catch (const SetupError& error) {
            Log(install, error.message + L" The plug-in is not unregistered.");
        }
    });
    return ERROR_SUCCESS;
}

// After the files are removed: a plug-in that a running client still holds cannot be deleted
// now, so it goes at the next restart, and the installer asks for one. (Windows Installer does
// this itself for files in use; Wine's leaves the file where it is.)
extern "C" UINT WINAPI RemovePluginAtRestart(MSIHANDLE install) {
    Guarded(install, [&] {
        const std::wstring module = Wide(DeferredData(install).module);
        if (GetFileAttributesW(module.c_str()) == INVALID_FILE_ATTRIBUTES)
            return;
        if (!MoveFileExW(module.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
            Log(install, module + L" is in use and cannot be removed at restart either (error " +
                             std::to_wstring(GetLastError()) + L")");
            return;
        }
        MsiSetMode(install, MSIRUNMODE_REBOOTATEND, TRUE);
        Log(install, module + L" is in use: it is removed when Windows restarts");
    });
    return ERROR_SUCCESS;
}
