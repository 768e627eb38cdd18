#include "engine/content_text.h"
#include "engine/engine_event.h"
#include "engine/engine_state.h"
#include "fake_engines.h"
#include "idl/engine_results.h"
#include "plugin_fixture.h"

#include <algorithm>
#include <string>

using namespace tamsel;
using namespace engine_results;

namespace {

class EngineEventTest : public PluginTest {
  protected:
    void SetUp() override {
        PluginTest::SetUp();
        fakes.Install();
    }
    // The calls after the event was created.
    std::vector<std::string> SendCalls() const {
        auto first =
            std::find_if(fakes.calls.begin(), fakes.calls.end(),
                         [](const std::string& call) { return call.rfind("CreateEvent", 0) == 0; });
        return first == fakes.calls.end() ? std::vector<std::string>{}
                                          : std::vector<std::string>(first + 1, fakes.calls.end());
    }
    FakeEngines fakes;
};

TEST_F(EngineEventTest, EventWithoutWritersSendsTheFourDefaultsInOrder) {
    {
        EngineEvent event(1);
        EXPECT_EQ(event.Send(), S_OK);
    }
    EXPECT_EQ(fakes.calls, (std::vector<std::string>{
                               "create ZendriEventFactory 0x17",
                               "CreateEvent {id} ZendriDS.Mail",
                               "AddProperty content=\"\"",
                               "AddProperty url=\"\"",
                               "AddProperty content_format=\"text/plain\"",
                               "AddProperty time=I4 0",
                               "Send",
                           }));
    EXPECT_EQ(FakeEngines::LiveObjects(), 0);
}

TEST_F(EngineEventTest, WrittenContentUrlAndPropertiesReachTheEngine) {
    {
        EngineEvent event(16);
        event.AppendContent(L"Location: Stra\u00dfe 1\r\n");
        event.AppendContent(L"Chair: Ann");
        VARIANT url;
        url.vt = VT_BSTR;
        url.bstrVal = SysAllocString(L"Tamsel:///01//A1");
        event.SetUrl(url);
        VariantClear(&url); // the event keeps its own copy
        VARIANT subject;
        subject.vt = VT_BSTR;
        subject.bstrVal = SysAllocString(L"Budget");
        EXPECT_EQ(event.AddProperty(L"subject", subject), S_OK);
        VariantClear(&subject);
        EXPECT_EQ(event.Send(), S_OK);
    }
    EXPECT_EQ(SendCalls(), (std::vector<std::string>{
                               "AddProperty subject=\"Budget\"",
                               "AddProperty content=\"Location: Stra\xc3\x9f"
                               "e 1\r\nChair: Ann\"",
                               "AddProperty url=\"Tamsel:///01//A1\"",
                               "AddProperty content_format=\"text/plain\"",
                               "AddProperty time=I4 0",
                               "Send",
                           }));
}

TEST_F(EngineEventTest, AWriterThatAddedFormatOrTimeSuppressesOnlyThatDefault) {
    const struct {
        bool format, time;
        std::vector<std::string> expected;
    } cases[] = {
        {true,
         false,
         {"AddProperty content=\"\"", "AddProperty url=\"\"", "AddProperty time=I4 0", "Send"}},
        {false,
         true,
         {"AddProperty content=\"\"", "AddProperty url=\"\"",
          "AddProperty content_format=\"text/plain\"", "Send"}},
        {true, true, {"AddProperty content=\"\"", "AddProperty url=\"\"", "Send"}},
    };
    for (const auto& c : cases) {
        fakes.calls.clear();
        EngineEvent event(1);
        if (c.format)
            event.MarkFormatGiven();
        if (c.time)
            event.MarkTimeGiven();
        EXPECT_EQ(event.Send(), S_OK);
        EXPECT_EQ(SendCalls(), c.expected) << c.format << c.time;
    }
}

TEST_F(EngineEventTest, AFailingStepEndsTheSendWithItsResult) {
    const struct {
        const char* failing;
        HRESULT result;
        size_t callsMade;
    } cases[] = {
        {"AddProperty content", E_PROPERTY_TOO_LARGE, 1},
        {"AddProperty url", E_SERVICE_NOT_RUNNING, 2},
        {"AddProperty content_format", E_NO_SUCH_PROPERTY, 3},
        {"AddProperty time", E_INVALIDARG, 4},
        {"Send", E_SEND_DELAYED, 5},
    };
    for (const auto& c : cases) {
        fakes.calls.clear();
        fakes.answers.clear();
        fakes.answers[c.failing] = {c.result};
        EngineEvent event(1);
        EXPECT_EQ(event.Send(), c.result) << c.failing;
        const auto calls = SendCalls();
        EXPECT_EQ(calls.size(), c.callsMade) << c.failing;
        EXPECT_EQ(calls.back().rfind(c.failing, 0), 0u)
            << c.failing << ": nothing after the failure";
    }
}

TEST_F(EngineEventTest, CreationFailuresAreAnsweredByEveryCall) {
    VARIANT text;
    text.vt = VT_I4;
    text.lVal = 1;
    const struct {
        const char* what;
        void (*script)(FakeEngines&);
        HRESULT expected;
    } cases[] = {
        {"factory absent",
         [](FakeEngines& f) { f.creation["ZendriEventFactory"] = REGDB_E_CLASSNOTREG; },
         REGDB_E_CLASSNOTREG},
        {"component not registered",
         [](FakeEngines& f) { f.answers["CreateEvent"] = {E_COMPONENT_NOT_REGISTERED}; },
         E_COMPONENT_NOT_REGISTERED},
        {"no event interface", [](FakeEngines& f) { f.eventLacksInterface = true; }, E_NOINTERFACE},
        {"engine unavailable", [](FakeEngines&) { engineUnavailable = true; }, HRESULT(0xFFFFFFFF)},
    };
    for (const auto& c : cases) {
        fakes.calls.clear();
        fakes.answers.clear();
        fakes.creation.clear();
        fakes.eventLacksInterface = false;
        engineUnavailable = false;
        c.script(fakes);
        EngineEvent event(1);
        EXPECT_FALSE(event.HasEngineEvent()) << c.what;
        EXPECT_EQ(event.CreationResult(), c.expected) << c.what;
        EXPECT_EQ(event.AddProperty(L"mail_flags", text), c.expected) << c.what;
        EXPECT_EQ(event.Send(), c.expected) << c.what;
        EXPECT_TRUE(fakes.CallsStartingWith("AddProperty").empty()) << c.what;
        EXPECT_TRUE(fakes.CallsStartingWith("Send").empty()) << c.what;
    }
    EXPECT_EQ(fakes.calls, std::vector<std::string>{})
        << "nothing is created while the engine is unavailable";
    EXPECT_EQ(FakeEngines::LiveObjects(), 0);
}

TEST_F(EngineEventTest, OnlyTheConvertersKindsGetAnEngineEvent) {
    for (DWORD kind : {1u, 2u, 4u, 16u, 32u, 64u, 256u}) {
        EngineEvent event(kind);
        EXPECT_TRUE(event.HasEngineEvent()) << kind;
    }
    for (DWORD kind : {0u, 8u, 128u, 512u}) {
        fakes.calls.clear();
        EngineEvent event(kind);
        EXPECT_FALSE(event.HasEngineEvent()) << kind;
        EXPECT_EQ(event.Send(), S_OK) << kind << ": the factory's result";
        EXPECT_EQ(fakes.calls, std::vector<std::string>{"create ZendriEventFactory 0x17"}) << kind;
    }
}

TEST(ContentText, GrowsToTwiceItsRoomOrJustEnough) {
    const struct {
        std::vector<size_t> appends;
        LONG capacity;
    } cases[] = {
        {{}, 256},    {{255}, 256},      {{256}, 512},       {{300}, 512},
        {{600}, 601}, {{200, 200}, 512}, {{300, 300}, 1024}, {{0, 0}, 256},
    };
    for (const auto& c : cases) {
        ContentText content;
        std::wstring expected;
        for (size_t count : c.appends) {
            const std::wstring text(count, wchar_t(L'a' + expected.size() % 26));
            content.Append(text);
            expected += text;
        }
        EXPECT_EQ(content.capacity(), c.capacity) << ::testing::PrintToString(c.appends);
        ASSERT_EQ(content.length(), LONG(expected.size()));
        EXPECT_EQ(std::wstring(content.data()), expected) << "text kept whole and terminated";
    }
}

} // namespace
