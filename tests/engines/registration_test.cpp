#include "engine_fixture.h"
#include "program_start.h"

namespace engine_tests {
namespace {

std::wstring ModulePath(HMODULE module) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(module, path, MAX_PATH);
    return path;
}

std::wstring ClassKey(const CLSID& clsid) {
    wchar_t text[40] = {};
    StringFromGUID2(clsid, text, 40);
    return std::wstring(L"CLSID\\") + text + L"\\InprocServer32";
}

// Its exit code; why it did not start when it did not.
DWORD RunRegsvr32(const std::wstring& arguments) {
    const auto regsvr32 = testing_support::StartProgram(L"regsvr32.exe /s " + arguments);
    return regsvr32 ? regsvr32.Wait(60000) : regsvr32.error;
}

class EngineRegistration : public EngineTest {};

TEST_F(EngineRegistration, Regsvr32RegistersEveryClassInProcessAndRemovesItAgain) {
    const struct {
        HMODULE dll;
        std::vector<CLSID> classes;
    } engines[] = {
        {zendri_.get(),
         {__uuidof(ZendriRegistrar), __uuidof(ZendriEventFactory), __uuidof(OrvennaQuery)}},
        {orvenna_.get(),
         {__uuidof(OrvennaEventFactory), __uuidof(OrvennaRegistrar), __uuidof(OrvennaQuery)}},
    };
    for (const auto& engine : engines) {
        const std::wstring path = ModulePath(engine.dll);
        ASSERT_EQ(RunRegsvr32(L"\"" + path + L"\""), 0u);
        for (const CLSID& clsid : engine.classes) {
            const RegistryKey server =
                RegistryKey::Open(HKEY_CLASSES_ROOT, ClassKey(clsid), KEY_READ);
            ASSERT_TRUE(server);
            EXPECT_EQ(_wcsicmp(server.GetString(L"").value_or(L"").c_str(), path.c_str()), 0);
            EXPECT_EQ(server.GetString(L"ThreadingModel").value_or(L"-"), L"Both");
        }
        ASSERT_EQ(RunRegsvr32(L"/u \"" + path + L"\""), 0u);
        for (const CLSID& clsid : engine.classes)
            EXPECT_FALSE(RegistryKey::Exists(HKEY_CLASSES_ROOT, ClassKey(clsid)));
    }
}

TEST_F(EngineRegistration, UnregisteringOneEngineLeavesTheQueryClassOfTheOther) {
    const std::wstring zendri = ModulePath(zendri_.get()), orvenna = ModulePath(orvenna_.get());
    ASSERT_EQ(RunRegsvr32(L"\"" + zendri + L"\""), 0u);
    ASSERT_EQ(RunRegsvr32(L"\"" + orvenna + L"\""), 0u);
    ASSERT_EQ(RunRegsvr32(L"/u \"" + zendri + L"\""), 0u);
    EXPECT_TRUE(RegistryKey::Exists(HKEY_CLASSES_ROOT, ClassKey(__uuidof(OrvennaQuery))));
    EXPECT_FALSE(RegistryKey::Exists(HKEY_CLASSES_ROOT, ClassKey(__uuidof(ZendriRegistrar))));

    // Registered classes are found by CoCreateInstance like any in-process server.
    ComPtr<IOrvennaRegistrar> registrar;
    EXPECT_EQ(CoCreateInstance(__uuidof(OrvennaRegistrar), nullptr, CLSCTX_INPROC_SERVER,
                               IID_PPV_ARGS(&registrar)),
              S_OK);
    ComPtr<IZendriRegistrar> gone;
    EXPECT_EQ(CoCreateInstance(__uuidof(ZendriRegistrar), nullptr, 0x17, IID_PPV_ARGS(&gone)),
              REGDB_E_CLASSNOTREG);
    registrar.Reset();
    ASSERT_EQ(RunRegsvr32(L"/u \"" + orvenna + L"\""), 0u);
}

TEST_F(EngineRegistration, EachDllServesOnlyItsClassesAndUnloadsWhenNothingIsAlive) {
    using Export = HRESULT(WINAPI*)();
    for (HMODULE dll : {zendri_.get(), orvenna_.get()}) {
        auto canUnload = reinterpret_cast<Export>(
            reinterpret_cast<void*>(GetProcAddress(dll, "DllCanUnloadNow")));
        ASSERT_TRUE(canUnload);
        EXPECT_EQ(canUnload(), S_OK);
        ComPtr<IOrvennaQuery> query = Make<IOrvennaQuery>(dll, __uuidof(OrvennaQuery));
        ASSERT_TRUE(query);
        EXPECT_EQ(canUnload(), S_FALSE) << "an object is alive";
        ComPtr<IDispatch> dispatch;
        EXPECT_EQ(query.As(&dispatch), S_OK);
        ComPtr<IOrvennaEvent> wrong;
        EXPECT_EQ(query.As(&wrong), E_NOINTERFACE);
        query.Reset();
        dispatch.Reset();
        EXPECT_EQ(canUnload(), S_OK);
    }
    ComPtr<IUnknown> none;
    EXPECT_EQ(CreateFrom(zendri_.get(), __uuidof(OrvennaRegistrar), IID_PPV_ARGS(&none)),
              CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(CreateFrom(orvenna_.get(), __uuidof(ZendriEventFactory), IID_PPV_ARGS(&none)),
              CLASS_E_CLASSNOTAVAILABLE);
}

} // namespace
} // namespace engine_tests
