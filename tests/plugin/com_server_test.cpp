// The real TamselDesktop.dll as a COM server: class objects, the unload check, registration
// in the prefix's registry and the type library.
#include "com/type_library.h"
#include "engine_turn.h"
#include "file_text.h"
#include "idl/desktop_search.h"
#include "plugin_fixture.h"
#include "program_run.h"
#include "tamsel_desktop.h"
#include "unique_resource.h"

#include <wrl/client.h>

#include <string>

using Microsoft::WRL::ComPtr;

namespace {

const wchar_t pluginClass[] = L"{3A71C2E4-5B0D-4F86-9E12-7D4C60A8B1F3}";
const wchar_t actionsClass[] = L"{6D2B9F10-8C47-4E35-A1D6-29F0B3C7E854}";
const wchar_t appIdKey[] = L"AppID\\{0C9E5D37-A6F1-4B28-93D4-E85B12F7C06A}";
const wchar_t typeLibraryKey[] = L"TypeLib\\{B4E0817A-2F6C-4D93-8B5E-C1A7D9036F42}";

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH];
    std::wstring folder(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

std::optional<std::wstring> ClassesText(const std::wstring& key, const wchar_t* value = nullptr) {
    wchar_t text[512];
    DWORD size = sizeof text;
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), value, RRF_RT_REG_SZ, nullptr, text, &size))
        return std::nullopt;
    return std::wstring(text);
}

bool ClassesKeyExists(const std::wstring& key) {
    win32::UniqueKey opened;
    return RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, opened.put()) == 0;
}

// The server loaded into the test program as a client of COM would load it.
class ComServer : public PluginTest {
  protected:
    void SetUp() override {
        PluginTest::SetUp();
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ASSERT_TRUE(server) << "TamselDesktop.dll";
        Export(getClassObject, "DllGetClassObject");
        Export(canUnloadNow, "DllCanUnloadNow");
        Export(registerServer, "DllRegisterServer");
        Export(unregisterServer, "DllUnregisterServer");
        ASSERT_TRUE(getClassObject && canUnloadNow && registerServer && unregisterServer);
    }
    template <typename Function> void Export(Function& function, const char* name) {
        function =
            reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(server.get(), name)));
    }
    ComPtr<IClassFactory> Factory(const wchar_t* classId) {
        CLSID id;
        CLSIDFromString(classId, &id);
        ComPtr<IClassFactory> factory;
        EXPECT_EQ(getClassObject(id, IID_PPV_ARGS(&factory)), S_OK);
        return factory;
    }

    const std::wstring modulePath = ProgramFolder() + L"TamselDesktop.dll";
    win32::UniqueLibrary server{LoadLibraryW(modulePath.c_str())};
    HRESULT(WINAPI* getClassObject)(REFCLSID, REFIID, void**) = nullptr;
    HRESULT(WINAPI* canUnloadNow)() = nullptr;
    HRESULT(WINAPI* registerServer)() = nullptr;
    HRESULT(WINAPI* unregisterServer)() = nullptr;
};

TEST_F(ComServer, HandsOutBothClassesAndCountsObjectsAndLocks) {
    EXPECT_EQ(canUnloadNow(), S_OK);
    ComPtr<IClassFactory> plugin = Factory(pluginClass), actions = Factory(actionsClass);
    ASSERT_TRUE(plugin && actions);
    EXPECT_EQ(canUnloadNow(), S_FALSE) << "class objects outstanding";

    ComPtr<ITamselDesktopPlugin> component;
    EXPECT_EQ(plugin->CreateInstance(nullptr, IID_PPV_ARGS(&component)), S_OK);
    ComPtr<IDispatch> dispatch;
    EXPECT_EQ(component.As(&dispatch), S_OK) << "a dual interface";
    ComPtr<IOrvennaActionHandler> handler;
    EXPECT_EQ(actions->CreateInstance(nullptr, IID_PPV_ARGS(&handler)), S_OK);
    ComPtr<IDispatch> notDispatch;
    EXPECT_EQ(handler.As(&notDispatch), E_NOINTERFACE);
    EXPECT_EQ(actions->CreateInstance(component.Get(), IID_PPV_ARGS(&handler)),
              CLASS_E_NOAGGREGATION);

    plugin.Reset();
    actions->LockServer(TRUE);
    actions.Reset();
    dispatch.Reset();
    component.Reset();
    handler.Reset();
    EXPECT_EQ(canUnloadNow(), S_FALSE) << "locked";
    Factory(actionsClass)->LockServer(FALSE);
    EXPECT_EQ(canUnloadNow(), S_OK);
}

TEST_F(ComServer, OtherClassesAreNotAvailable) {
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(getClassObject(__uuidof(OrvennaQuery), IID_IClassFactory, &out),
              CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(out, nullptr);
    CLSID plugin;
    CLSIDFromString(pluginClass, &plugin);
    EXPECT_EQ(getClassObject(plugin, IID_IDispatch, &out), E_NOINTERFACE);
    EXPECT_EQ(getClassObject(plugin, IID_IClassFactory, nullptr), E_POINTER);
}

// Registration writes the prefix's real classes: one test at a time, and without engines, so
// the second engine's registrar cannot be created.
class ComRegistration : public ComServer {
  protected:
    void SetUp() override {
        for (const wchar_t* engine : {L"ZendriDS.dll", L"OrvennaDesktop.dll"})
            testing_support::RunProgram(L"regsvr32.exe /s /u \"" + ProgramFolder() + engine +
                                        L"\"");
        ComServer::SetUp();
    }
    void TearDown() override {
        unregisterServer();
        RegDeleteTreeW(HKEY_CLASSES_ROOT, appIdKey);
        RegDeleteKeyW(HKEY_CLASSES_ROOT, appIdKey);
        CoUninitialize();
        ComServer::TearDown();
    }
    testing_support::EngineTurn turn;
};

TEST_F(ComRegistration, WritesEveryEntryThenFailsWithTheSecondEnginesCreationError) {
    EXPECT_EQ(registerServer(), REGDB_E_CLASSNOTREG);
    for (const auto& [name, classId] : {std::pair(L"TamselDesktopPlugin", pluginClass),
                                        std::pair(L"TamselActions", actionsClass)}) {
        const std::wstring progId = std::wstring(L"TamselDesktop.") + name;
        const std::wstring title = std::wstring(name) + L" Class";
        const std::wstring classKey = std::wstring(L"CLSID\\") + classId;
        EXPECT_EQ(ClassesText(progId + L".1"), title);
        EXPECT_EQ(ClassesText(progId + L".1\\CLSID"), classId);
        EXPECT_EQ(ClassesText(progId), title);
        EXPECT_EQ(ClassesText(progId + L"\\CLSID"), classId);
        EXPECT_EQ(ClassesText(progId + L"\\CurVer"), progId + L".1");
        EXPECT_EQ(ClassesText(classKey), title);
        EXPECT_EQ(ClassesText(classKey + L"\\ProgID"), progId + L".1");
        EXPECT_EQ(ClassesText(classKey + L"\\VersionIndependentProgID"), progId);
        EXPECT_EQ(ClassesText(classKey + L"\\InprocServer32"), modulePath);
        EXPECT_EQ(ClassesText(classKey + L"\\InprocServer32", L"ThreadingModel"), L"Both");
        EXPECT_EQ(ClassesText(classKey, L"AppID"), L"{0C9E5D37-A6F1-4B28-93D4-E85B12F7C06A}");
        EXPECT_EQ(ClassesText(classKey + L"\\TypeLib"), L"{B4E0817A-2F6C-4D93-8B5E-C1A7D9036F42}");
        EXPECT_EQ(ClassesKeyExists(classKey + L"\\Programmable"), classId == pluginClass);
    }
    EXPECT_EQ(ClassesText(appIdKey), L"TamselDesktop");
    EXPECT_EQ(ClassesText(L"AppID\\TamselDesktop.DLL", L"AppID"),
              L"{0C9E5D37-A6F1-4B28-93D4-E85B12F7C06A}");
    ComPtr<ITypeLib> library;
    GUID libraryId;
    CLSIDFromString(L"{B4E0817A-2F6C-4D93-8B5E-C1A7D9036F42}", &libraryId);
    EXPECT_EQ(LoadRegTypeLib(libraryId, 1, 0, 0, &library), S_OK);

    EXPECT_EQ(unregisterServer(), REGDB_E_CLASSNOTREG) << "the second engine's answer";
    const std::vector<std::wstring> removed = {L"TamselDesktop.TamselDesktopPlugin.1",
                                               L"TamselDesktop.TamselDesktopPlugin",
                                               L"TamselDesktop.TamselActions.1",
                                               L"TamselDesktop.TamselActions",
                                               std::wstring(L"CLSID\\") + pluginClass,
                                               std::wstring(L"CLSID\\") + actionsClass,
                                               L"AppID\\TamselDesktop.DLL",
                                               typeLibraryKey};
    for (const std::wstring& key : removed)
        EXPECT_FALSE(ClassesKeyExists(key)) << key;
    EXPECT_EQ(ClassesText(appIdKey), L"TamselDesktop") << "the AppID key stays";
}

TEST_F(ComRegistration, ClassesThatCannotBeWrittenFailBeforeTheEngine) {
    // The classes root replaced by a key that was deleted: nothing can be written below it.
    const wchar_t gone[] = L"Software\\TamselTests\\DeletedClasses";
    win32::UniqueKey deleted;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, gone, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              deleted.put(), nullptr),
              ERROR_SUCCESS);
    RegDeleteKeyW(HKEY_CURRENT_USER, gone);
    ASSERT_EQ(RegOverridePredefKey(HKEY_CLASSES_ROOT, deleted.get()), ERROR_SUCCESS);
    const HRESULT result = registerServer();
    RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    EXPECT_EQ(result, HRESULT_FROM_WIN32(ERROR_KEY_DELETED)) << "and not the engine's error";
    EXPECT_FALSE(ClassesKeyExists(std::wstring(L"CLSID\\") + pluginClass));
}

// A library made for the test: a module without a type library, with or without a ".tlb"
// file of its name beside it.
class TypeLibrary : public PluginTest {
  protected:
    std::string ServerTypeLibraryBytes() {
        win32::UniqueLibrary module(LoadLibraryExW((ProgramFolder() + L"TamselDesktop.dll").c_str(),
                                                   nullptr, LOAD_LIBRARY_AS_DATAFILE));
        HRSRC found = FindResourceW(module.get(), MAKEINTRESOURCEW(1), L"TYPELIB");
        EXPECT_TRUE(found);
        if (!found)
            return {};
        const char* data =
            static_cast<const char*>(LockResource(LoadResource(module.get(), found)));
        return std::string(data, SizeofResource(module.get(), found));
    }
    std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }
};

TEST_F(TypeLibrary, LoadsFromTheModuleWithItsNameVersionAndHelp) {
    ComPtr<ITypeLib> library;
    std::wstring loadedFrom;
    const std::wstring module = ProgramFolder() + L"TamselDesktop.dll";
    ASSERT_EQ(tamsel::LoadServerTypeLibrary(module, &library, loadedFrom), S_OK);
    EXPECT_EQ(loadedFrom, module);
    TLIBATTR* attributes = nullptr;
    ASSERT_EQ(library->GetLibAttr(&attributes), S_OK);
    EXPECT_EQ(attributes->wMajorVerNum, 1);
    EXPECT_EQ(attributes->wMinorVerNum, 0);
    library->ReleaseTLibAttr(attributes);
    BSTR name = nullptr, help = nullptr;
    ASSERT_EQ(library->GetDocumentation(-1, &name, &help, nullptr, nullptr), S_OK);
    EXPECT_EQ(std::wstring(name), L"TamselDesktopLib");
    EXPECT_EQ(std::wstring(help), L"TamselDesktop 1.0 Type Library");
    SysFreeString(name);
    SysFreeString(help);
    ComPtr<ITypeInfo> actions;
    EXPECT_EQ(library->GetTypeInfoOfGuid(__uuidof(TamselActions), &actions), S_OK);
}

TEST_F(TypeLibrary, FallsBackToTheTlbBesideTheModuleButNotForOverlongPaths) {
    const std::wstring module = Wide(dir.file("server.dll"));
    ASSERT_TRUE(CopyFileW((ProgramFolder() + L"ntamsel.dll").c_str(), module.c_str(), FALSE));
    ComPtr<ITypeLib> library;
    std::wstring loadedFrom;
    EXPECT_TRUE(FAILED(tamsel::LoadServerTypeLibrary(module, &library, loadedFrom)))
        << "no library in the module and none beside it";
    testing_support::WriteFileText(dir.file("server.tlb"), ServerTypeLibraryBytes());
    EXPECT_EQ(tamsel::LoadServerTypeLibrary(module, &library, loadedFrom), S_OK);
    EXPECT_EQ(loadedFrom, Wide(dir.file("server.tlb")));

    const std::wstring overlong = Wide(dir.path()) + L"\\" + std::wstring(250, L'd') + L"\\x.dll";
    EXPECT_EQ(tamsel::LoadServerTypeLibrary(overlong, &library, loadedFrom), E_FAIL);
    EXPECT_FALSE(library);
}

} // namespace
