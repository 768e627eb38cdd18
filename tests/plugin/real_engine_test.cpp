#include "com/server_registration.h"
#include "engine/component_id.h"
#include "engine/component_registration.h"
#include "engine/engine_event.h"
#include "engine/engine_factory.h"
#include "idl/engine_results.h"
#include "installed_engines.h"
#include "real_engines.h"
#include "settings/client_settings.h"
#include <olectl.h>

#include <functional>
#include <optional>

using namespace tamsel;
using namespace engine_results;

namespace {

TEST_F(RealEngines, StatusWordsFollowRegistrationAndTheEnginesSwitches) {
    EXPECT_EQ(CheckPrimaryEngine(), 0x0001) << "installed, component not registered";
    EXPECT_EQ(CheckSecondEngine(), 0x0001);
    ASSERT_EQ(RegisterWithPrimaryEngine(), 0u);
    ASSERT_EQ(RegisterWithSecondEngine(false), S_OK);
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, ComponentKey(zendriComponents), L"Icon"),
              L"C:\\Client\\nltamsel.exe,2");

    const struct {
        const char* what;
        std::function<void()> setSwitch;
        WORD expected;
    } cases[] = {
        {"normal", [] {}, 0xC1FF},
        {"service stopped", [] { SetSwitch(L"ServiceStopped", 1); }, 0x01FF},
        {"component disabled", [] { SetSwitch(L"ComponentDisabled", 1); }, 0x01FB},
        {"indexing paused", [] { SetSwitch(L"IndexingPaused", 1); }, 0x21FF},
        {"send delayed", [] { SetSwitch(L"FailSendCode", DWORD(E_SEND_DELAYED)); }, 0xC1FF},
        {"content refused",
         [] {
             SetSwitchText(L"FailProperty", L"content");
             SetSwitch(L"FailPropertyCode", DWORD(E_NO_SUCH_PROPERTY));
         },
         0xC1FF},
    };
    for (const auto& c : cases) {
        ClearSwitches();
        c.setSwitch();
        EXPECT_EQ(CheckPrimaryEngine(), c.expected) << "primary: " << c.what;
        EXPECT_EQ(CheckSecondEngine(), c.expected) << "second: " << c.what;
    }
}

TEST_F(RealEngines, RegisteringTheSecondEngineAgainReplacesTheEarlierRegistration) {
    ASSERT_EQ(RegisterWithSecondEngine(false), S_OK);
    const LONG firstCookie = GetInstallTime();
    EXPECT_GT(firstCookie, 0);
    EXPECT_EQ(RegisterWithSecondEngine(true), E_COMPONENT_ALREADY_REGISTERED)
        << "the retry itself does not unregister";
    EXPECT_EQ(RegisterWithSecondEngine(false), S_OK)
        << "unregistered through the server, then registered";
    EXPECT_GT(GetInstallTime(), 0);
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, ComponentKey(orvennaComponents), L"Title"),
              L"Quarrix Velmora Tamsel Plug-In");
    EXPECT_EQ(UnregisterFromSecondEngine(), S_OK);
    EXPECT_EQ(UnregisterFromSecondEngine(), E_COMPONENT_NOT_REGISTERED);
}

TEST_F(RealEngines, EventsThatFailAtTheEngineAreNotStored) {
    ASSERT_EQ(RegisterWithPrimaryEngine(), 0u);
    SetSwitchText(L"FailProperty", L"url");
    SetSwitch(L"FailPropertyCode", DWORD(E_PROPERTY_TOO_LARGE));
    {
        EngineEvent event(1);
        ASSERT_TRUE(event.HasEngineEvent());
        event.AppendContent(L"never stored");
        EXPECT_EQ(event.Send(), E_PROPERTY_TOO_LARGE);
    }
    EXPECT_EQ(Zsearch(L"query stored").output.find("never stored"), std::string::npos);
}

// The engines installed as COM servers in the prefix, the client's path written by the
// client's installer, and the plug-in's own COM creation.
class InstalledEngines : public RealEngines {
  protected:
    void SetUp() override {
        RealEngines::SetUp();
        installed.emplace();
        UseInstalledEngines();
    }
    void TearDown() override {
        RealEngines::TearDown();
        installed.reset();
    }

    std::optional<testing_support::InstalledEngines> installed;

    static HRESULT SendMail(const wchar_t* url, const wchar_t* subject, const wchar_t* body) {
        EngineEvent event(1);
        VARIANT value;
        value.vt = VT_BSTR;
        value.bstrVal = SysAllocString(subject);
        HRESULT hr = event.AddProperty(L"subject", value);
        VariantClear(&value);
        if (FAILED(hr))
            return hr;
        value.vt = VT_BSTR;
        value.bstrVal = SysAllocString(url);
        event.SetUrl(value);
        VariantClear(&value);
        event.AppendContent(body);
        return event.Send();
    }

    // Removes the document through the second engine's query object, as deletion notices do.
    static HRESULT RemoveByUrl(const wchar_t* url) {
        ComPtr<IOrvennaQuery> query;
        if (const HRESULT hr = CreateEngineObject(__uuidof(OrvennaQuery), inProcessContext, query);
            FAILED(hr))
            return hr;
        ThrowingBstr text(url);
        UniqueVariant category, ranking;
        ComPtr<IOrvennaResultSet> results;
        if (const HRESULT hr =
                query->Query(GetInstallTime(), text.get(), *category, *ranking, &results);
            FAILED(hr))
            return hr;
        ComPtr<IOrvennaResultItem> item;
        if (const HRESULT hr = results->Next(&item); hr != S_OK)
            return FAILED(hr) ? hr : E_FAIL;
        return item->Remove(0);
    }
};

TEST_F(InstalledEngines, RegisteredPluginSendsDocumentsThatTheSearchToolFindsAndRemoves) {
    EXPECT_EQ(CheckPrimaryEngine(), 0x0001);
    ASSERT_EQ(RegisterWithPrimaryEngine(), 0u);
    EXPECT_EQ(CheckPrimaryEngine(), 0xC1FF);
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, ComponentKey(zendriComponents), L"Icon"),
              ProgramFolder() + L"nltamsel.exe,2")
        << "the icon is in the installed client";
    ASSERT_EQ(RegisterWithSecondEngine(false), S_OK);
    EXPECT_EQ(CheckSecondEngine(), 0xC1FF);

    ASSERT_EQ(SendMail(L"Tamsel:///01//A1", L"Harbour festival", L"Bring the lanterns"), S_OK);
    ASSERT_EQ(SendMail(L"Tamsel:///01//A2", L"Lantern order", L"Forty lanterns"), S_OK);
    ASSERT_EQ(SendMail(L"Tamsel:///01//A3", L"Minutes", L"Nothing to see"), S_OK);

    const auto found = Zsearch(L"query lanterns");
    EXPECT_EQ(found.exitCode, 0u);
    for (const char* part : {"URL: Tamsel:///01//A1", "URL: Tamsel:///01//A2", "2 found"})
        EXPECT_NE(found.output.find(part), std::string::npos) << part << "\n" << found.output;
    const auto shown = Zsearch(L"show Tamsel:///01//A3");
    for (const char* part : {"Nothing to see", "text/plain", "Minutes"})
        EXPECT_NE(shown.output.find(part), std::string::npos) << part << "\n" << shown.output;

    EXPECT_EQ(RemoveByUrl(L"Tamsel:///01//A2"), S_OK);
    EXPECT_EQ(Zsearch(L"show Tamsel:///01//A2").exitCode, 1u);
    EXPECT_NE(Zsearch(L"query lanterns").output.find("1 found"), std::string::npos);

    UnregisterFromPrimaryEngine();
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, ComponentKey(zendriComponents), L"Title"), L"<none>");
    EXPECT_EQ(CheckPrimaryEngine(), 0x0001);
    EXPECT_EQ(DllUnregisterServer(), S_OK) << "withdraws the component from the second engine";
    EXPECT_EQ(CheckSecondEngine(), 0x0001);
    EXPECT_TRUE(boxes.empty());
}

} // namespace
