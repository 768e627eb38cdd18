#include "real_engines.h"

#include "engine/engine_factory.h"
#include "engines_notice.h"
#include "idl/desktop_search.h"
#include "installed_engines.h"
#include "unique_resource.h"

namespace {

const wchar_t engineKey[] = L"Software\\Zendri\\DesktopSearch";
const wchar_t switchesKey[] = L"Software\\Zendri\\DesktopSearch\\Test";

win32::UniqueLibrary zendri;
win32::UniqueLibrary orvenna;

// Straight from the DLLs' class objects, without registering them for the whole prefix.
HRESULT CreateFromEngineDlls(REFCLSID classId, DWORD, REFIID interfaceId, void** out) {
    *out = nullptr;
    const bool second = IsEqualCLSID(classId, __uuidof(OrvennaEventFactory)) ||
                        IsEqualCLSID(classId, __uuidof(OrvennaRegistrar));
    using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    auto get = reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(
        GetProcAddress((second ? orvenna : zendri).get(), "DllGetClassObject")));
    if (!get)
        return REGDB_E_CLASSNOTREG;
    IClassFactory* factory = nullptr;
    if (const HRESULT hr = get(classId, IID_IClassFactory, reinterpret_cast<void**>(&factory));
        FAILED(hr))
        return hr;
    const HRESULT hr = factory->CreateInstance(nullptr, interfaceId, out);
    factory->Release();
    return hr;
}

} // namespace

void RealEngines::SetUp() {
    PluginTest::SetUp();
    const std::wstring folder(index.path().begin(), index.path().end());
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, engineKey, L"IndexFolder", REG_SZ, folder.c_str(),
                              DWORD((folder.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    ClearSwitches();
    DeleteComponentKeys();
    clientPath.Set(L"C:\\Client\\");
    zendri.reset(LoadLibraryW(L"ZendriDS.dll"));
    orvenna.reset(LoadLibraryW(L"OrvennaDesktop.dll"));
    ASSERT_TRUE(zendri && orvenna) << "engine DLLs beside the test";
    tamsel::engineFactory.createInstance = CreateFromEngineDlls;
    comReady_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    ASSERT_TRUE(comReady_);
}

void RealEngines::TearDown() {
    if (comReady_)
        CoUninitialize();
    // The engines hold the index open; unloading them lets the folder go.
    zendri.reset();
    orvenna.reset();
    ClearSwitches();
    DeleteComponentKeys();
    PluginTest::TearDown();
}

void RealEngines::SetSwitch(const wchar_t* name, DWORD value) {
    ASSERT_EQ(
        RegSetKeyValueW(HKEY_CURRENT_USER, switchesKey, name, REG_DWORD, &value, sizeof value),
        ERROR_SUCCESS);
    testing_support::LetEnginesNotice();
}

void RealEngines::SetSwitchText(const wchar_t* name, const std::wstring& value) {
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, switchesKey, name, REG_SZ, value.c_str(),
                              DWORD((value.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    testing_support::LetEnginesNotice();
}

void RealEngines::ClearSwitches() {
    RegDeleteTreeW(HKEY_CURRENT_USER, switchesKey);
    testing_support::LetEnginesNotice();
}

testing_support::ProgramRun RealEngines::Zsearch(const std::wstring& arguments) {
    return testing_support::RunProgram(L"\"" + ProgramFolder() + L"zsearch.exe\" " + arguments);
}

std::wstring RealEngines::ProgramFolder() {
    return testing_support::InstalledEngines::ProgramFolder();
}
