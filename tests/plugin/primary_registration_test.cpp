#include "engine/component_registration.h"
#include "engine/engine_event.h"
#include "engine/engine_state.h"
#include "engine_keys.h"
#include "fake_engines.h"
#include "host/exports.h"
#include "plugin_fixture.h"
#include "settings/client_settings.h"

using namespace tamsel;

namespace {

const std::string registerCall =
    "RegisterComponent {id} [Title|Velmora Tamsel v6.5 Plugin|Description|Indexing Velmora Tamsel "
    "documents|Icon|C:\\Client\\nltamsel.exe,2]";

class PrimaryRegistration : public PluginTest {
  protected:
    void SetUp() override {
        PluginTest::SetUp();
        fakes.Install();
        clientPath.Set(L"C:\\Client\\");
        DeleteComponentKeys();
    }
    EngineTurn turn;
    ClientPathValue clientPath;
    FakeEngines fakes;
};

TEST_F(PrimaryRegistration, IconJoinsTheClientPathWithoutAddingASeparator) {
    const struct {
        const wchar_t* path;
        const char* icon;
    } cases[] = {
        {L"C:\\Client\\", "Icon|C:\\Client\\nltamsel.exe,2]"},
        {L"C:\\Client", "Icon|C:\\Clientnltamsel.exe,2]"},
        {L"D:\\Programme\\Velmora Tamsel\\", "Icon|D:\\Programme\\Velmora Tamsel\\nltamsel.exe,2]"},
    };
    for (const auto& c : cases) {
        clientPath.Set(c.path);
        fakes.calls.clear();
        EXPECT_EQ(RegisterWithPrimaryEngine(), 0u);
        const auto registered = fakes.CallsStartingWith("RegisterComponent");
        ASSERT_EQ(registered.size(), 1u);
        EXPECT_NE(registered[0].find(c.icon), std::string::npos) << registered[0];
        UnregisterFromPrimaryEngine();
    }
}

TEST_F(PrimaryRegistration, RegistersAndWithdrawsThroughTheRegistrar) {
    EXPECT_EQ(RegisterWithPrimaryEngine(), 0u);
    EXPECT_TRUE(registrationAttempted);
    UnregisterFromPrimaryEngine();
    EXPECT_FALSE(registrationAttempted);
    EXPECT_EQ(fakes.calls, (std::vector<std::string>{"create ZendriRegistrar 0x17", registerCall,
                                                     "create ZendriRegistrar 0x17",
                                                     "UnRegisterComponent {id}"}));
    EXPECT_EQ(FakeEngines::LiveObjects(), 0);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(PrimaryRegistration, TheEnginesAnswerToRegisterComponentDoesNotMatter) {
    fakes.answers["RegisterComponent"] = {E_FAIL};
    EXPECT_EQ(RegisterWithPrimaryEngine(), 0u);
    EXPECT_TRUE(registrationAttempted) << "withdrawn at thread end like any registration";
}

TEST_F(PrimaryRegistration, ASecondRegistrationWhileRegisteredDoesNothingAndShowsNothing) {
    UseSettings("DesktopSearchDebug=1\n");
    ASSERT_EQ(RegisterWithPrimaryEngine(), 0u);
    fakes.calls.clear();
    EXPECT_EQ(RegisterWithPrimaryEngine(), 0xFFFFFFFFu);
    EXPECT_TRUE(fakes.calls.empty());
    EXPECT_TRUE(boxes.empty()) << "no box naming an internal function";
    EXPECT_TRUE(LogLines().empty());
    EXPECT_TRUE(registrationAttempted) << "the first registration still stands";
}

TEST_F(PrimaryRegistration, UnregisteringWithoutARegistrationIsSilent) {
    UnregisterFromPrimaryEngine();
    EXPECT_TRUE(fakes.calls.empty());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(PrimaryRegistration, MissingClientPathAsksForTheClientAndAllowsALaterAttempt) {
    clientPath.Remove();
    EXPECT_EQ(RegisterWithPrimaryEngine(), 0xFFFFFFFFu);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Velmora Tamsel v6.5 is required for installation");
    EXPECT_EQ(boxes[0].caption, "");
    EXPECT_EQ(boxes[0].type, unsigned(MB_OK));
    EXPECT_TRUE(fakes.CallsStartingWith("RegisterComponent").empty());
    EXPECT_FALSE(engineUnavailable);
    EXPECT_EQ(FakeEngines::LiveObjects(), 0);

    clientPath.Set(L"C:\\Client\\");
    EXPECT_EQ(RegisterWithPrimaryEngine(), 0u);
    EXPECT_EQ(fakes.CallsStartingWith("RegisterComponent"), std::vector<std::string>{registerCall});
}

// The thread started before the engine was installed; the user installs it and chooses the
// menu item: the plug-in registers then, and documents reach the engine from now on.
TEST_F(PrimaryRegistration, EngineInstalledAfterThreadStartRegistersFromTheMenuCommand) {
    fakes.creation["ZendriRegistrar"] = REGDB_E_CLASSNOTREG;
    fakes.creation["ZendriEventFactory"] = REGDB_E_CLASSNOTREG;
    EXPECT_EQ(RegisterWithPrimaryEngine(), 0xFFFFFFFFu);
    EXPECT_TRUE(engineUnavailable);
    EXPECT_FALSE(registrationAttempted);
    {
        EngineEvent event(1);
        EXPECT_EQ(event.Send(), HRESULT(0xFFFFFFFF));
    }

    fakes.creation.clear();
    fakes.calls.clear();
    EXPECT_EQ(RegisterWithPrimaryEngine(), 0u);
    EXPECT_EQ(fakes.calls, (std::vector<std::string>{"create ZendriRegistrar 0x17", registerCall}));
    EXPECT_FALSE(engineUnavailable);
    EngineEvent event(1);
    EXPECT_TRUE(event.HasEngineEvent());
    EXPECT_EQ(event.Send(), S_OK);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(PrimaryRegistration, MenuCommandRegistersOnceAndSilentlyWhenTheThreadCouldNot) {
    fakes.creation["ZendriRegistrar"] = REGDB_E_CLASSNOTREG;
    fakes.creation["ZendriEventFactory"] = REGDB_E_CLASSNOTREG;
    RegisterWithPrimaryEngine(); // at thread start, before the engine was installed
    fakes.creation.clear();
    fakes.calls.clear();

    ADDINMENURECORD record{};
    AddinMenuProc(ADDIN_MSG_COMMAND, &record);
    EXPECT_EQ(fakes.CallsStartingWith("RegisterComponent"), std::vector<std::string>{registerCall});
    EXPECT_TRUE(GetJustRegistered());

    // The engine still reports the component as unknown (its key is missing): the menu
    // command asks again, and the standing registration is neither repeated nor reported.
    SetJustRegistered(0);
    AddinMenuProc(ADDIN_MSG_COMMAND, &record);
    EXPECT_EQ(fakes.CallsStartingWith("RegisterComponent").size(), 1u);
    EXPECT_FALSE(GetJustRegistered());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(PrimaryRegistration, WithdrawalAtThreadEndLeavesTheEngineAloneWhenItWasNeverReached) {
    fakes.creation["ZendriRegistrar"] = REGDB_E_CLASSNOTREG;
    RegisterWithPrimaryEngine();
    fakes.calls.clear();
    UnregisterFromPrimaryEngine();
    EXPECT_TRUE(fakes.calls.empty());
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(engineUnavailable) << "only a registration that reaches the engine lifts it";
}

} // namespace
