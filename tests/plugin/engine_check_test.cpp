#include "engine/component_registration.h"
#include "engine_keys.h"
#include "fake_engines.h"
#include "idl/engine_results.h"
#include "plugin_fixture.h"

#include <functional>

using namespace tamsel;
using namespace engine_results;

namespace {

struct Engine {
    const char* name;
    WORD (*check)();
    const char* factory;
    const wchar_t* components;
};

const Engine primary = {"primary", CheckPrimaryEngine, "ZendriEventFactory", zendriComponents};
const Engine second = {"second", CheckSecondEngine, "OrvennaEventFactory", orvennaComponents};

class EngineCheck : public PluginTest {
  protected:
    void SetUp() override {
        PluginTest::SetUp();
        fakes.Install();
        DeleteComponentKeys();
    }
    void TearDown() override {
        DeleteComponentKeys();
        PluginTest::TearDown();
    }
    EngineTurn turn;
    FakeEngines fakes;
};

TEST_F(EngineCheck, PrimaryProbeIsAnEmptyMailDocumentInItsOrder) {
    CreateComponentKey(zendriComponents);
    EXPECT_EQ(CheckPrimaryEngine(), 0xC1FF);
    EXPECT_EQ(fakes.calls, (std::vector<std::string>{
                               "create ZendriEventFactory 0x17",
                               "CreateEvent {id} ZendriDS.Mail",
                               "AddProperty time=I4 0",
                               "AddProperty content=\"\"",
                               "AddProperty content_format=\"text/plain\"",
                               "AddProperty url=\"\"",
                               "Send",
                           }));
    EXPECT_EQ(FakeEngines::LiveObjects(), 0);
}

TEST_F(EngineCheck, SecondProbeUsesItsOwnSchemaPropertiesAndSendFlag) {
    CreateComponentKey(orvennaComponents);
    EXPECT_EQ(CheckSecondEngine(), 0xC1FF);
    EXPECT_EQ(fakes.calls, (std::vector<std::string>{
                               "create OrvennaEventFactory 0x3",
                               "CreateEvent {id} Orvenna.Desktop.Email",
                               "AddProperty received=DATE 0",
                               "AddProperty content=\"\"",
                               "AddProperty format=\"text/plain\"",
                               "Send 1",
                           }));
    EXPECT_EQ(FakeEngines::LiveObjects(), 0);
}

TEST_F(EngineCheck, StatusWordFollowsHowFarTheEngineGets) {
    const struct Case {
        const char* what;
        bool componentKey;
        std::function<void(FakeEngines&, const Engine&)> script;
        WORD expected;
    } cases[] = {
        {"factory absent", true,
         [](FakeEngines& f, const Engine& e) { f.creation[e.factory] = REGDB_E_CLASSNOTREG; },
         0x0000},
        {"component key missing", false, [](FakeEngines&, const Engine&) {}, 0x0001},
        {"CreateEvent: not registered", true,
         [](FakeEngines& f, const Engine&) {
             f.answers["CreateEvent"] = {E_COMPONENT_NOT_REGISTERED};
         },
         0x0001},
        {"CreateEvent: other failure", true,
         [](FakeEngines& f, const Engine&) { f.answers["CreateEvent"] = {E_NO_SUCH_SCHEMA}; },
         0x0003},
        {"no event interface", true,
         [](FakeEngines& f, const Engine&) { f.eventLacksInterface = true; }, 0x01FF},
        {"send: paused", true,
         [](FakeEngines& f, const Engine&) { f.answers["Send"] = {S_INDEXING_PAUSED}; }, 0x21FF},
        {"send: service stopped", true,
         [](FakeEngines& f, const Engine&) { f.answers["Send"] = {E_SERVICE_NOT_RUNNING}; },
         0x01FF},
        {"send: disabled", true,
         [](FakeEngines& f, const Engine&) { f.answers["Send"] = {E_COMPONENT_DISABLED}; }, 0x01FB},
        {"send: delayed", true,
         [](FakeEngines& f, const Engine&) { f.answers["Send"] = {E_SEND_DELAYED}; }, 0xC1FF},
        {"property: disabled", true,
         [](FakeEngines& f, const Engine&) {
             f.answers["AddProperty content"] = {E_COMPONENT_DISABLED};
         },
         0x01FB},
        {"property: no such property", true,
         [](FakeEngines& f, const Engine&) {
             f.answers["AddProperty content"] = {E_NO_SUCH_PROPERTY};
         },
         0xC1FF},
    };
    for (const Engine& engine : {primary, second}) {
        for (const Case& c : cases) {
            DeleteComponentKeys();
            fakes.calls.clear();
            fakes.answers.clear();
            fakes.creation.clear();
            fakes.eventLacksInterface = false;
            if (c.componentKey)
                CreateComponentKey(engine.components);
            c.script(fakes, engine);
            EXPECT_EQ(engine.check(), c.expected) << engine.name << ": " << c.what;
            EXPECT_EQ(FakeEngines::LiveObjects(), 0) << engine.name << ": " << c.what;
        }
    }
}

TEST_F(EngineCheck, AFailingProbePropertyEndsTheProbeWithoutSending) {
    CreateComponentKey(zendriComponents);
    fakes.answers["AddProperty content_format"] = {E_NO_SUCH_PROPERTY};
    EXPECT_EQ(CheckPrimaryEngine(), 0xC1FF);
    EXPECT_TRUE(fakes.CallsStartingWith("AddProperty url").empty());
    EXPECT_TRUE(fakes.CallsStartingWith("Send").empty());
}

TEST_F(EngineCheck, RefusedCreateEventIsLoggedOnlyWithDebugLogging) {
    CreateComponentKey(zendriComponents);
    fakes.answers["CreateEvent"] = {E_NO_SUCH_SCHEMA};
    CheckPrimaryEngine();
    EXPECT_TRUE(LogLines().empty());
    UseSettings("DesktopSearchDebug=1\n");
    CheckPrimaryEngine();
    EXPECT_EQ(LogLines(),
              std::vector<std::string>{"TamselODSPlugin: tdFactory->CreateEvent: 80040003"});
}

} // namespace
