#include "engine_fixture.h"

#include "core/components.h"
#include "core/orvenna_index.h"
#include "engines_notice.h"
#include "file_text.h"
#include "idl/engine_results.h"
#include "index/index_folder.h"
#include "program_run.h"

namespace engine_tests {
namespace {

using ToolRun = testing_support::ProgramRun;

// A program that may change the engines' keys: the engines count the change once their look
// interval has passed after it.
ToolRun RunTool(const std::wstring& commandLine) {
    ToolRun run = testing_support::RunProgram(commandLine);
    testing_support::LetEnginesNotice();
    return run;
}

ToolRun RunZsearch(const std::wstring& arguments) {
    return RunTool(L"zsearch.exe " + arguments);
}

class SearchTool : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        RegisterZendriComponent();
    }

    void SendMail(const std::wstring& url, const std::wstring& subject, const std::wstring& from,
                  const std::wstring& content) {
        auto event = NewZendriEvent();
        ASSERT_TRUE(event);
        ASSERT_EQ(AddText(event.Get(), L"url", url), S_OK);
        ASSERT_EQ(AddText(event.Get(), L"subject", subject), S_OK);
        ASSERT_EQ(AddText(event.Get(), L"from", from), S_OK);
        ASSERT_EQ(AddText(event.Get(), L"folder_name", L"Inbox"), S_OK);
        ASSERT_EQ(AddText(event.Get(), L"content", content), S_OK);
        ASSERT_EQ(AddNumber(event.Get(), L"time", 1147867200), S_OK);
        ASSERT_EQ(event->Send(), S_OK);
    }
};

TEST_F(SearchTool, FindsWhatTheEngineReceivedAndForgetsWhatTheQueryObjectRemoved) {
    SendMail(L"Tamsel:///01//A1", L"Stra\u00dfenfest planning", L"Jo Ng", L"Bring the GRILL");
    SendMail(L"Tamsel:///01//A2", L"Grill order", L"Ann Lee", L"Two sausages");
    SendMail(L"Tamsel:///01//A3", L"Minutes", L"Ann Lee", L"nothing to see");

    const ToolRun grill = RunZsearch(L"query grill");
    EXPECT_EQ(grill.exitCode, 0u);
    const size_t order = grill.output.find("Grill order");
    const size_t fest = grill.output.find("Stra\xc3\x9f"
                                          "enfest planning");
    ASSERT_NE(order, std::string::npos) << grill.output;
    ASSERT_NE(fest, std::string::npos) << grill.output;
    EXPECT_LT(order, fest) << "a match in the subject ranks first";
    for (const char* part : {"From: Ann Lee", "Folder: Inbox", "2006-05-17T12:00:00Z",
                             "URL: Tamsel:///01//A2", "Bring the GRILL", "2 found"})
        EXPECT_NE(grill.output.find(part), std::string::npos) << part << "\n" << grill.output;

    const auto json = nlohmann::json::parse(RunZsearch(L"--json query STRASSENFEST BRING").output,
                                            nullptr, false);
    EXPECT_TRUE(json.is_array() && json.empty()) << "\u00df does not fold to ss";
    const auto both = nlohmann::json::parse(RunZsearch(L"--json query \u00dfenfest bring").output,
                                            nullptr, false);
    ASSERT_TRUE(both.is_array());
    ASSERT_EQ(both.size(), 1u);
    EXPECT_EQ(both[0]["url"], "Tamsel:///01//A1");

    // The plug-in's deletion notice: query by url with its cookie, remove each item.
    const RegistryKey component = RegistryKey::Create(
        HKEY_CURRENT_USER,
        engine_core::ComponentKey(engine_core::kOrvennaComponents, kComponentId));
    ASSERT_TRUE(component.SetDword(engine_core::kQueryCookieValue, 4711));
    auto query = Make<IOrvennaQuery>(zendri_.get(), __uuidof(OrvennaQuery));
    UniqueBstr url(L"Tamsel:///01//A2");
    UniqueVariant none1, none2;
    ComPtr<IOrvennaResultSet> results;
    ASSERT_EQ(query->Query(4711, url.get(), *none1, *none2, &results), S_OK);
    ComPtr<IOrvennaResultItem> item;
    ASSERT_EQ(results->Next(&item), S_OK);
    EXPECT_EQ(item->Remove(0), S_OK);

    EXPECT_EQ(RunZsearch(L"count").output, "2\n");
    EXPECT_EQ(RunZsearch(L"show Tamsel:///01//A2").exitCode, 1u);
    EXPECT_NE(RunZsearch(L"show Tamsel:///01//A3").output.find("from: Ann Lee"), std::string::npos);
    const ToolRun list = RunZsearch(L"list");
    EXPECT_EQ(list.output.find("A2"), std::string::npos) << list.output;
}

TEST_F(SearchTool, ServiceAndFailureCommandsSteerTheEngine) {
    auto sendResult = [&] {
        auto event = NewZendriEvent();
        if (!event)
            return E_FAIL;
        const HRESULT added = AddText(event.Get(), L"url", L"u");
        return FAILED(added) ? added : event->Send();
    };
    const struct {
        const wchar_t* command;
        HRESULT send;
    } steps[] = {
        {L"service stop", engine_results::E_SERVICE_NOT_RUNNING},
        {L"service start", S_OK},
        {L"service pause", engine_results::S_INDEXING_PAUSED},
        {L"service resume", S_OK},
        {L"fail component on", engine_results::E_COMPONENT_DISABLED},
        {L"fail component off", S_OK},
        {L"fail send 0x8004000C 1 1", engine_results::E_SEND_DELAYED},
        {L"clear", S_OK},
        {L"fail limit event 1", engine_results::E_EVENT_TOO_LARGE},
        {L"clear", S_OK},
    };
    for (const auto& step : steps) {
        EXPECT_EQ(RunZsearch(step.command).exitCode, 0u);
        EXPECT_EQ(sendResult(), step.send) << testing::PrintToString(std::wstring(step.command));
    }
    // Refused, saying why, and the switches stay as they were: a number is never wrapped.
    const struct {
        const wchar_t* command;
        const char* says;
    } bad[] = {
        {L"service halt", "usage: zsearch service"},
        {L"fail send nonsense", "usage: zsearch fail"},
        {L"fail limit disk 3", "usage: zsearch fail"},
        {L"fail limit event -1", "numbers from 0 to 4294967295"},
        {L"fail limit event 4294967296", "usage: zsearch fail"},
        {L"fail limit property 99999999999999999999", "usage: zsearch fail"},
        {L"fail send 0x8004000C -1", "usage: zsearch fail"},
        {L"fail send 0x1FFFFFFFF", "usage: zsearch fail"},
        {L"fail send \" 5\"", "usage: zsearch fail"},
        {L"bogus", "zsearch: unknown command 'bogus'"},
        {L"count extra", "zsearch: wrong arguments for 'count'"},
        {L"show", "zsearch: wrong arguments for 'show'"},
    };
    for (const auto& c : bad) {
        const ToolRun run = RunZsearch(c.command);
        EXPECT_EQ(run.exitCode, 2u) << testing::PrintToString(std::wstring(c.command));
        EXPECT_NE(run.output.find(c.says), std::string::npos)
            << testing::PrintToString(std::wstring(c.command)) << "\n"
            << run.output;
    }
    EXPECT_EQ(sendResult(), S_OK) << "no refused command set a switch";
    EXPECT_EQ(RunZsearch(L"--help").exitCode, 0u);
}

// The engine reads the registry again only after a change notice: changes made by other
// processes must reach the very next call of a factory and of an event made earlier.
TEST_F(SearchTool, ASwitchSetByAnotherProcessReachesTheNextSendOfTheSameFactory) {
    auto factory = Make<IZendriEventFactory>(zendri_.get(), __uuidof(ZendriEventFactory));
    ASSERT_TRUE(factory);
    auto create = [&] {
        UniqueBstr id(kComponentId), schema(L"ZendriDS.Mail");
        ComPtr<IDispatch> created;
        ComPtr<IZendriEvent> event;
        EXPECT_EQ(factory->CreateEvent(id.get(), schema.get(), &created), S_OK);
        if (created)
            created.As(&event);
        return event;
    };
    auto first = create(), second = create();
    ASSERT_TRUE(first && second);
    ASSERT_EQ(AddText(first.Get(), L"url", L"Tamsel:///02//1"), S_OK);
    ASSERT_EQ(AddText(second.Get(), L"url", L"Tamsel:///02//2"), S_OK);
    EXPECT_EQ(first->Send(), S_OK);
    ASSERT_EQ(RunZsearch(L"service stop").exitCode, 0u);
    EXPECT_EQ(second->Send(), engine_results::E_SERVICE_NOT_RUNNING);
    auto third = create();
    ASSERT_TRUE(third);
    EXPECT_EQ(AddText(third.Get(), L"url", L"Tamsel:///02//3"),
              engine_results::E_SERVICE_NOT_RUNNING);
    ASSERT_EQ(RunZsearch(L"service start").exitCode, 0u);
    EXPECT_EQ(second->Send(), S_OK);
    ASSERT_EQ(RunZsearch(L"fail send 0x8004000C").exitCode, 0u);
    EXPECT_EQ(first->Send(), engine_results::E_SEND_DELAYED);
    ASSERT_EQ(RunZsearch(L"clear").exitCode, 0u);
    EXPECT_EQ(first->Send(), S_OK);
    EXPECT_EQ(Documents().size(), 2u);
}

TEST_F(SearchTool, AComponentRemovedOrAddedByAnotherProcessCountsAtTheNextCreateEvent) {
    auto factory = Make<IZendriEventFactory>(zendri_.get(), __uuidof(ZendriEventFactory));
    ASSERT_TRUE(factory);
    auto create = [&] {
        UniqueBstr id(kComponentId), schema(L"ZendriDS.Mail");
        ComPtr<IDispatch> created;
        return factory->CreateEvent(id.get(), schema.get(), &created);
    };
    const std::wstring key =
        std::wstring(L"\"HKCU\\") + engine_core::kZendriComponents + L"\\" + kComponentId + L"\"";
    EXPECT_EQ(create(), S_OK);
    const ToolRun removed = RunTool(L"reg.exe delete " + key + L" /f");
    ASSERT_EQ(removed.exitCode, 0u) << removed.output;
    EXPECT_EQ(create(), engine_results::E_COMPONENT_NOT_REGISTERED);
    const ToolRun added = RunTool(L"reg.exe add " + key + L" /v Title /d Back /f");
    ASSERT_EQ(added.exitCode, 0u) << added.output;
    EXPECT_EQ(create(), S_OK);
}

TEST_F(SearchTool, TheEngineKeyDeletedAndMadeAgainIsReadAfresh) {
    SendMail(L"Tamsel:///03//1", L"Before", L"Jo", L"");
    // Everything of the engines goes, then comes back with the index folder, the component
    // and a switch.
    ASSERT_TRUE(RegistryKey::DeleteTree(HKEY_CURRENT_USER, L"Software\\Zendri"));
    const RegistryKey engine = RegistryKey::Create(HKEY_CURRENT_USER, engine_index::kEngineKey);
    ASSERT_TRUE(engine.SetString(engine_index::kIndexFolderValue,
                                 std::wstring(index_.path().begin(), index_.path().end())));
    RegisterZendriComponent();
    SetSwitch(L"IndexingPaused", 1);
    auto paused = NewZendriEvent();
    ASSERT_TRUE(paused);
    EXPECT_EQ(paused->Send(), engine_results::S_INDEXING_PAUSED);
    ClearSwitch(L"IndexingPaused");
    SendMail(L"Tamsel:///03//2", L"After", L"Jo", L"");
    EXPECT_EQ(Documents().size(), 2u);
}

// An index that is no folder (or whose log is a folder) is an error, not an empty index.
TEST_F(SearchTool, AnIndexThatCannotBeReadIsAnErrorNotAnEmptyIndex) {
    SendMail(L"Tamsel:///04//1", L"Kept", L"Jo", L"");
    const std::string file = index_.file("not-a-folder"), other = index_.file("other");
    testing_support::WriteFileText(file, "x");
    // Another index folder whose log is a folder.
    ASSERT_TRUE(CreateDirectoryA(other.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((other + "\\documents.jsonl").c_str(), nullptr));
    const struct {
        const char* what;
        std::string folder;
        const char* says;
    } cases[] = {
        {"a file as index folder", file, "not-a-folder is not a folder"},
        {"a folder as index log", other, "documents.jsonl is a folder"},
    };
    const RegistryKey engine = RegistryKey::Create(HKEY_CURRENT_USER, engine_index::kEngineKey);
    for (const auto& c : cases) {
        ASSERT_TRUE(engine.SetString(engine_index::kIndexFolderValue,
                                     std::wstring(c.folder.begin(), c.folder.end())));
        testing_support::LetEnginesNotice();
        for (const wchar_t* command : {L"count", L"list", L"query kept", L"show Tamsel:///04//1"}) {
            const ToolRun run = RunZsearch(command);
            EXPECT_EQ(run.exitCode, 1u)
                << c.what << ": " << testing::PrintToString(std::wstring(command));
            EXPECT_NE(run.output.find(c.says), std::string::npos) << c.what << ": " << run.output;
        }
    }
    ASSERT_TRUE(engine.SetString(engine_index::kIndexFolderValue,
                                 std::wstring(index_.path().begin(), index_.path().end())));
}

TEST_F(SearchTool, ResetEmptiesTheIndexUnderANewCreationTime) {
    SendMail(L"Tamsel:///01//B1", L"Kept until reset", L"Jo", L"");
    ASSERT_EQ(RunZsearch(L"reset").exitCode, 0u);
    const auto read = IndexCreationTime;
    const auto first = read();
    EXPECT_EQ(first.size(), sizeof(FILETIME));
    EXPECT_EQ(RunZsearch(L"count").output, "0\n");
    SendMail(L"Tamsel:///01//B2", L"After reset", L"Jo", L"");
    EXPECT_EQ(RunZsearch(L"count").output, "1\n") << "the engine keeps writing the same file";
    Sleep(20);
    ASSERT_EQ(RunZsearch(L"reset").exitCode, 0u);
    EXPECT_NE(read(), first);
}

} // namespace
} // namespace engine_tests
