#include "engine_fixture.h"

#include "idl/engine_results.h"

namespace engine_tests {
namespace {

using namespace engine_results;

struct Setting {
    const wchar_t* name;
    HRESULT value;
};

class EngineSwitches : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        RegisterZendriComponent();
    }
};

TEST_F(EngineSwitches, EachSwitchGivesItsAnswerAndKeepsTheEventOutOfTheIndex) {
    const struct {
        const char* what;
        std::vector<Setting> settings;
        HRESULT subject;
        HRESULT send;
        bool stored;
    } cases[] = {
        {"none", {}, S_OK, S_OK, true},
        {"service stopped",
         {{L"ServiceStopped", 1}},
         E_SERVICE_NOT_RUNNING,
         E_SERVICE_NOT_RUNNING,
         false},
        {"paused", {{L"IndexingPaused", 1}}, S_OK, S_INDEXING_PAUSED, false},
        {"disabled",
         {{L"ComponentDisabled", 1}},
         E_COMPONENT_DISABLED,
         E_COMPONENT_DISABLED,
         false},
        {"send fails", {{L"FailSendCode", E_RETRY_SEND}}, S_OK, E_RETRY_SEND, false},
        {"send delayed", {{L"FailSendCode", E_SEND_DELAYED}}, S_OK, E_SEND_DELAYED, false},
        {"property size", {{L"MaxPropertyBytes", 4}}, E_PROPERTY_TOO_LARGE, S_OK, true},
        {"event size", {{L"MaxEventBytes", 8}}, S_OK, E_EVENT_TOO_LARGE, false},
        {"switched off", {{L"ServiceStopped", 0}, {L"IndexingPaused", 0}}, S_OK, S_OK, true},
    };
    int url = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const Setting& setting : c.settings)
            SetSwitch(setting.name, static_cast<DWORD>(setting.value));
        auto event = NewZendriEvent();
        ASSERT_TRUE(event);
        const std::wstring id = L"u" + std::to_wstring(++url);
        EXPECT_EQ(AddText(event.Get(), L"url", id),
                  c.subject == S_OK || c.subject == E_PROPERTY_TOO_LARGE ? S_OK : c.subject);
        EXPECT_EQ(AddText(event.Get(), L"subject", L"twelve chars"), c.subject);
        EXPECT_EQ(event->Send(), c.send);
        bool found = false;
        for (const auto& document : Documents())
            found = found || document.url == std::string(id.begin(), id.end());
        EXPECT_EQ(found, c.stored);
        for (const Setting& setting : c.settings)
            ClearSwitch(setting.name);
    }
}

TEST_F(EngineSwitches, ANamedPropertyFailsWithTheGivenCodeAndOthersPass) {
    SetSwitchText(L"FailProperty", L"folder_name");
    SetSwitch(L"FailPropertyCode", static_cast<DWORD>(E_NO_SUCH_PROPERTY));
    auto event = NewZendriEvent();
    ASSERT_TRUE(event);
    EXPECT_EQ(AddText(event.Get(), L"folder_name", L"Inbox"), E_NO_SUCH_PROPERTY);
    EXPECT_EQ(AddText(event.Get(), L"subject", L"Hello"), S_OK);
    EXPECT_EQ(event->Send(), S_OK);
    ASSERT_EQ(Documents().size(), 1u);
    EXPECT_EQ(Text(Documents()[0], "folder_name"), "<none>");
}

TEST_F(EngineSwitches, SendFailsFromTheNthSendOnForTheGivenCount) {
    SetSwitch(L"FailSendCode", static_cast<DWORD>(E_SERVICE_IS_EXITING));
    SetSwitch(L"FailSendFrom", 3);
    SetSwitch(L"FailSendCount", 2);
    std::vector<HRESULT> results;
    for (int i = 0; i < 6; ++i) {
        auto event = NewZendriEvent();
        ASSERT_TRUE(event);
        AddText(event.Get(), L"url", L"n" + std::to_wstring(i));
        results.push_back(event->Send());
    }
    EXPECT_EQ(results, (std::vector<HRESULT>{S_OK, S_OK, E_SERVICE_IS_EXITING, E_SERVICE_IS_EXITING,
                                             S_OK, S_OK}));
    EXPECT_EQ(Documents().size(), 4u);
}

TEST_F(EngineSwitches, TheProbeOfAComponentCheckSeesEachStateOfTheService) {
    // time, content, content_format, url, then Send: the first failure is the answer.
    auto probe = [&] {
        auto event = NewZendriEvent();
        if (!event)
            return E_FAIL;
        for (HRESULT hr :
             {AddNumber(event.Get(), L"time", 0), AddText(event.Get(), L"content", L""),
              AddText(event.Get(), L"content_format", L"text/plain"),
              AddText(event.Get(), L"url", L"")})
            if (FAILED(hr))
                return hr;
        return event->Send();
    };
    EXPECT_EQ(probe(), S_OK);
    SetSwitch(L"IndexingPaused", 1);
    EXPECT_EQ(probe(), S_INDEXING_PAUSED);
    SetSwitch(L"ComponentDisabled", 1);
    EXPECT_EQ(probe(), E_COMPONENT_DISABLED);
    SetSwitch(L"ServiceStopped", 1);
    EXPECT_EQ(probe(), E_SERVICE_NOT_RUNNING);
}

} // namespace
} // namespace engine_tests
