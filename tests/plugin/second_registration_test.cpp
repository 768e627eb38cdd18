#include "com/server_registration.h"
#include "fake_engines.h"
#include "idl/engine_results.h"
#include "plugin_fixture.h"
#include "settings/client_settings.h"
#include <olectl.h>

#include <algorithm>
#include <functional>

using namespace tamsel;
using engine_results::E_COMPONENT_ALREADY_REGISTERED;
using engine_results::E_COMPONENT_NOT_REGISTERED;

namespace {

const std::string actions = "RegisterAction {6D2B9F10-8C47-4E35-A1D6-29F0B3C7E854} ";

class SecondRegistration : public PluginTest {
  protected:
    void SetUp() override {
        PluginTest::SetUp();
        fakes.Install();
    }
    size_t Count(const std::string& prefix) const { return fakes.CallsStartingWith(prefix).size(); }
    FakeEngines fakes;
};

TEST_F(SecondRegistration, RegistersDescriptionActionsIndexingAndQueryThenKeepsTheCookie) {
    EXPECT_EQ(RegisterWithSecondEngine(false), S_OK);
    EXPECT_EQ(fakes.calls,
              (std::vector<std::string>{
                  "create OrvennaRegistrar 0x17",
                  "BeginRegistration {id} [Title|Quarrix Velmora Tamsel Plug-In|Description|"
                  "Indexes Velmora Tamsel documents|Icon|]",
                  "GetRegistrationObject OrvennaDesktop.ActionRegistration",
                  actions + "{791F141B-8CB2-4F72-AD50-60EC14BFCFBB} empty",
                  actions + "{B47371E4-4DDA-41F4-A694-93B084E93230} empty",
                  actions + "{4DFEE224-FE66-4954-A247-1D61CFD3B9F3} empty",
                  "GetRegistrationObject OrvennaDesktop.IndexingRegistration",
                  "RegisterIndexing null",
                  "GetRegistrationObject OrvennaDesktop.QueryRegistration",
                  "RegisterQuery {id} 0",
                  "CompleteRegistration",
              }));
    EXPECT_EQ(GetInstallTime(), 4711);
    EXPECT_NE(SettingsFileText().find("DesktopSearchInstallTime2=4711"), std::string::npos);
    EXPECT_EQ(FakeEngines::LiveObjects(), 0);
}

TEST_F(SecondRegistration, FailuresCancelOrCarryOnAsEachStepDeserves) {
    const struct Case {
        const char* what;
        std::function<void(FakeEngines&)> script;
        HRESULT expected;
        bool cancelled;
        bool completed;
        size_t actions; // the first refused action ends the list
    } cases[] = {
        {"registrar absent",
         [](FakeEngines& f) { f.creation["OrvennaRegistrar"] = REGDB_E_CLASSNOTREG; },
         REGDB_E_CLASSNOTREG, false, false, 0},
        {"begin refused", [](FakeEngines& f) { f.answers["BeginRegistration"] = {E_ACCESSDENIED}; },
         E_ACCESSDENIED, true, false, 0},
        {"no action object",
         [](FakeEngines& f) {
             f.answers["GetRegistrationObject OrvennaDesktop.ActionRegistration"] = {
                 REGDB_E_CLASSNOTREG};
         },
         REGDB_E_CLASSNOTREG, true, false, 0},
        {"an action refused",
         [](FakeEngines& f) {
             f.answers["RegisterAction"] = {S_OK, E_INVALIDARG};
         },
         S_OK, false, true, 2},
        {"no indexing object",
         [](FakeEngines& f) {
             f.answers["GetRegistrationObject OrvennaDesktop.IndexingRegistration"] = {
                 E_UNEXPECTED};
         },
         E_UNEXPECTED, true, false, 3},
        {"indexing refused", [](FakeEngines& f) { f.answers["RegisterIndexing"] = {E_NOTIMPL}; },
         E_NOTIMPL, true, false, 3},
        {"query refused", [](FakeEngines& f) { f.answers["RegisterQuery"] = {E_FAIL}; }, S_OK,
         false, true, 3},
        {"no query object",
         [](FakeEngines& f) {
             f.answers["GetRegistrationObject OrvennaDesktop.QueryRegistration"] = {E_FAIL};
         },
         S_OK, false, true, 3},
        {"complete refused", [](FakeEngines& f) { f.answers["CompleteRegistration"] = {E_FAIL}; },
         E_FAIL, true, true, 3},
    };
    for (const Case& c : cases) {
        fakes.calls.clear();
        fakes.answers.clear();
        fakes.creation.clear();
        c.script(fakes);
        EXPECT_EQ(RegisterWithSecondEngine(false), c.expected) << c.what;
        EXPECT_EQ(Count("UnRegisterComponent {id}"), c.cancelled ? 1u : 0u) << c.what;
        EXPECT_EQ(Count("CompleteRegistration"), c.completed ? 1u : 0u) << c.what;
        EXPECT_EQ(Count("RegisterAction"), c.actions) << c.what;
        EXPECT_EQ(FakeEngines::LiveObjects(), 0) << c.what;
    }
}

TEST_F(SecondRegistration, WithoutAQueryCookieTheInstallTimeIsCleared) {
    SetInstallTime(99);
    fakes.answers["RegisterQuery"] = {E_FAIL};
    EXPECT_EQ(RegisterWithSecondEngine(false), S_OK);
    EXPECT_EQ(GetInstallTime(), 0);
}

TEST_F(SecondRegistration, AlreadyRegisteredComponentIsUnregisteredAndRegisteredOnceMore) {
    fakes.answers["BeginRegistration"] = {E_COMPONENT_ALREADY_REGISTERED, S_OK};
    EXPECT_EQ(RegisterWithSecondEngine(false), S_OK);
    ASSERT_GE(fakes.calls.size(), 5u);
    EXPECT_EQ(fakes.calls[1].rfind("BeginRegistration {id}", 0), 0u);
    const std::vector<std::string> unregistration(fakes.calls.begin() + 2, fakes.calls.begin() + 5);
    EXPECT_EQ(unregistration, (std::vector<std::string>{
                                  "create OrvennaRegistrar 0x17",
                                  "UnRegisterComponent {id}",
                                  "create OrvennaRegistrar 0x17",
                              }));
    EXPECT_EQ(Count("BeginRegistration"), 2u);
    EXPECT_EQ(Count("CompleteRegistration"), 1u);
    EXPECT_EQ(FakeEngines::LiveObjects(), 0);
}

TEST_F(SecondRegistration, TheRetryHappensOnlyOnce) {
    const struct {
        const char* what;
        const char* method;
    } cases[] = {{"begin", "BeginRegistration"}, {"complete", "CompleteRegistration"}};
    for (const auto& c : cases) {
        fakes.calls.clear();
        fakes.answers.clear();
        fakes.answers[c.method] = {E_COMPONENT_ALREADY_REGISTERED};
        EXPECT_EQ(RegisterWithSecondEngine(false), E_COMPONENT_ALREADY_REGISTERED) << c.what;
        EXPECT_EQ(Count("BeginRegistration"), 2u) << c.what << ": no third attempt";
        EXPECT_EQ(Count("UnRegisterComponent"), 1u)
            << c.what << ": only the unregistration before the retry";
    }
}

TEST_F(SecondRegistration, NoRetryWhenAskedAsTheRetryOrWhenUnregisteringFails) {
    fakes.answers["BeginRegistration"] = {E_COMPONENT_ALREADY_REGISTERED};
    EXPECT_EQ(RegisterWithSecondEngine(true), E_COMPONENT_ALREADY_REGISTERED);
    EXPECT_EQ(Count("BeginRegistration"), 1u);
    EXPECT_EQ(Count("UnRegisterComponent"), 0u);

    fakes.calls.clear();
    fakes.answers["UnRegisterComponent"] = {E_COMPONENT_NOT_REGISTERED};
    EXPECT_EQ(RegisterWithSecondEngine(false), E_COMPONENT_ALREADY_REGISTERED);
    EXPECT_EQ(Count("BeginRegistration"), 1u);
}

TEST_F(SecondRegistration, UnregisteringAnswersWithTheEnginesResult) {
    fakes.answers["UnRegisterComponent"] = {E_COMPONENT_NOT_REGISTERED};
    EXPECT_EQ(UnregisterFromSecondEngine(), E_COMPONENT_NOT_REGISTERED);
    EXPECT_EQ(DllUnregisterServer(), E_COMPONENT_NOT_REGISTERED)
        << "the server's unregistration reports it";
    fakes.creation["OrvennaRegistrar"] = REGDB_E_CLASSNOTREG;
    EXPECT_EQ(UnregisterFromSecondEngine(), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(FakeEngines::LiveObjects(), 0);
}

} // namespace
