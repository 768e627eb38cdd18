#include "file_text.h"
#include "index/document.h"
#include "index/index_log.h"
#include "index/records.h"
#include "index/search.h"
#include "program_run.h"
#include "temp_dir.h"
#include "unique_resource.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using namespace engine_index;
using testing_support::TempDir;

std::wstring Wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

Document Mail(const std::string& url, const std::string& subject, const std::string& content) {
    Document document;
    document.url = url;
    document.engine = "zendri";
    document.properties["subject"] = subject;
    document.properties["content"] = content;
    return document;
}

TEST(IndexLog, ReadersSeeWholeRecordsOnlyAndATornRecordSwallowsNothing) {
    TempDir dir;
    IndexLog log(Wide(dir.path()));
    EXPECT_EQ(log.ReadWholeLines().text(), "") << "no log yet";
    ASSERT_EQ(log.Append(AddRecord(Mail("a", "first", ""))), S_OK);
    // A writer that died in the middle of a record.
    testing_support::WriteFileText(dir.file("documents.jsonl"),
                                   testing_support::ReadFileText(dir.file("documents.jsonl")) +
                                       R"({"op":"add","url":"torn","props":{"sub)");
    EXPECT_EQ(LiveDocuments(log.ReadWholeLines()).size(), 1u);

    IndexLog other(Wide(dir.path()));
    ASSERT_EQ(other.Append(AddRecord(Mail("b", "second", ""))), S_OK);
    const auto documents = LiveDocuments(other.ReadWholeLines());
    ASSERT_EQ(documents.size(), 2u);
    EXPECT_EQ(documents[0].url, "a");
    EXPECT_EQ(documents[1].url, "b");
}

TEST(IndexLog, LaterRecordsReplaceAndRemoveByUrl) {
    const std::string log = AddRecord(Mail("a", "one", "")) + "\n" +
                            AddRecord(Mail("b", "two", "")) + "\n" + "not json\n" +
                            AddRecord(Mail("a", "three", "")) + "\n" + RemoveRecord("b") + "\n" +
                            AddRecord(Mail("c", "four", "")) + "\n" + RemoveRecord("c") + "\n" +
                            AddRecord(Mail("c", "five", "")) + "\n";
    const auto documents = LiveDocuments(log);
    ASSERT_EQ(documents.size(), 2u);
    EXPECT_EQ(documents[0].properties["subject"], "three");
    EXPECT_EQ(documents[1].properties["subject"], "five");
    EXPECT_LT(documents[0].sequence, documents[1].sequence);
}

TEST(IndexLog, WritersWithTheirOwnHandlesNeverInterleave) {
    TempDir dir;
    constexpr int kWriters = 4, kEach = 200;
    std::vector<std::thread> writers;
    for (int w = 0; w < kWriters; ++w)
        writers.emplace_back([&, w] {
            IndexLog log(Wide(dir.path()));
            for (int i = 0; i < kEach; ++i)
                log.Append(AddRecord(
                    Mail(std::to_string(w) + "/" + std::to_string(i), "", std::string(3000, 'x'))));
        });
    for (auto& writer : writers)
        writer.join();
    const LogView view = IndexLog(Wide(dir.path())).ReadWholeLines();
    const std::string_view text = view.text();
    EXPECT_EQ(static_cast<int>(std::count(text.begin(), text.end(), '\n')), kWriters * kEach);
    EXPECT_EQ(LiveDocuments(text).size(), static_cast<size_t>(kWriters * kEach));
}

// The writers' turn of a folder as the processes share it.
class SharedTurns {
  public:
    explicit SharedTurns(const std::wstring& folder)
        : section_(OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE,
                                    IndexLog::TurnSectionName(folder).c_str())),
          view_(section_ ? MapViewOfFile(section_.get(), FILE_MAP_ALL_ACCESS, 0, 0,
                                         sizeof(IndexLog::WriterTurns))
                         : nullptr) {}
    IndexLog::WriterTurns* operator->() const {
        return static_cast<IndexLog::WriterTurns*>(view_.get());
    }
    explicit operator bool() const { return static_cast<bool>(view_); }

  private:
    win32::UniqueHandle section_;
    win32::UniqueView view_; // unmapped before the section closes
};

TEST(IndexLog, AWriterThatDiedHoldingTheTurnHoldsUpNobody) {
    TempDir dir;
    IndexLog log(Wide(dir.path()));
    ASSERT_EQ(log.Append(AddRecord(Mail("a", "first", ""))), S_OK);
    // What a writer's process leaves when it dies while writing: the turn held under its
    // token, whose life sign went with the process, and half a record.
    SharedTurns turns(Wide(dir.path()));
    ASSERT_TRUE(turns);
    const LONG dead = InterlockedIncrement(&turns->lastToken);
    InterlockedExchange(&turns->holder, dead);
    testing_support::WriteFileText(dir.file("documents.jsonl"),
                                   testing_support::ReadFileText(dir.file("documents.jsonl")) +
                                       R"({"op":"add","url":"torn")");

    ASSERT_EQ(log.Append(AddRecord(Mail("b", "second", ""))), S_OK);
    EXPECT_EQ(turns->holder, 0) << "the turn is given back after the write";
    const auto documents = LiveDocuments(log.ReadWholeLines());
    ASSERT_EQ(documents.size(), 2u);
    EXPECT_EQ(documents[1].url, "b");
}

TEST(IndexLog, AWriterWaitsForTheTurnWhileItsHolderLives) {
    TempDir dir;
    IndexLog log(Wide(dir.path()));
    ASSERT_EQ(log.Append(AddRecord(Mail("a", "", ""))), S_OK);
    SharedTurns turns(Wide(dir.path()));
    ASSERT_TRUE(turns);
    // Another writer, alive, has the turn.
    const LONG other = InterlockedIncrement(&turns->lastToken);
    win32::UniqueHandle sign(CreateEventW(
        nullptr, TRUE, FALSE, IndexLog::WriterSignName(Wide(dir.path()), other).c_str()));
    ASSERT_TRUE(sign);
    InterlockedExchange(&turns->holder, other);

    std::atomic<bool> written = false;
    std::thread writer([&] {
        EXPECT_EQ(log.Append(AddRecord(Mail("b", "", ""))), S_OK);
        written = true;
    });
    Sleep(300);
    EXPECT_FALSE(written) << "wrote while another writer had the turn";
    InterlockedExchange(&turns->holder, 0);
    writer.join();
    EXPECT_TRUE(written);

    // Its holder dies while another waits: the waiter goes on.
    InterlockedExchange(&turns->holder, other);
    written = false;
    std::thread waiter([&] {
        EXPECT_EQ(log.Append(AddRecord(Mail("c", "", ""))), S_OK);
        written = true;
    });
    Sleep(100);
    EXPECT_FALSE(written);
    sign.reset();
    waiter.join();
    EXPECT_EQ(LiveDocuments(log.ReadWholeLines()).size(), 3u);
}

// A run of this program as a child of WritersInSeveralProcessesTakeTurns: appends records
// named after its process to the folder the parent names.
constexpr wchar_t kChildFolder[] = L"ZENDRI_TEST_APPEND_FOLDER";
constexpr int kChildRecords = 1500;
constexpr size_t kRecordText = 3000;

TEST(IndexLogChild, DISABLED_AppendsRecordsNamedAfterItsProcess) {
    wchar_t folder[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(kChildFolder, folder, MAX_PATH))
        GTEST_SKIP() << "run by WritersInSeveralProcessesTakeTurns";
    IndexLog log(folder);
    const std::string process = std::to_string(GetCurrentProcessId());
    for (int i = 0; i < kChildRecords; ++i)
        ASSERT_EQ(log.Append(AddRecord(
                      Mail(process + "/" + std::to_string(i), "", std::string(kRecordText, 'c')))),
                  S_OK);
}

TEST(IndexLog, WritersInSeveralProcessesTakeTurnsAndWriteWholeLines) {
    TempDir dir;
    ASSERT_TRUE(SetEnvironmentVariableW(kChildFolder, Wide(dir.path()).c_str()));
    std::vector<testing_support::ProgramRun> runs(2);
    std::atomic<int> running = static_cast<int>(runs.size());
    std::vector<std::thread> children;
    for (auto& run : runs)
        children.emplace_back([&run, &running] {
            run = testing_support::RunProgram(
                L"engine_index_tests.exe --gtest_also_run_disabled_tests "
                L"--gtest_filter=IndexLogChild.DISABLED_AppendsRecordsNamedAfterItsProcess");
            --running;
        });
    // This process writes for as long as the children do.
    IndexLog log(Wide(dir.path()));
    int mine = 0;
    while (running > 0)
        ASSERT_EQ(log.Append(AddRecord(
                      Mail("parent/" + std::to_string(mine++), "", std::string(kRecordText, 'p')))),
                  S_OK);
    for (auto& child : children)
        child.join();
    SetEnvironmentVariableW(kChildFolder, nullptr);
    for (const auto& run : runs)
        ASSERT_EQ(run.exitCode, 0u) << run.output;

    const LogView view = log.ReadWholeLines();
    const std::string_view text = view.text();
    const int expected = mine + 2 * kChildRecords;
    EXPECT_EQ(static_cast<int>(std::count(text.begin(), text.end(), '\n')), expected);
    const auto documents = LiveDocuments(text);
    ASSERT_EQ(documents.size(), static_cast<size_t>(expected)) << "every line a whole record";
    for (const auto& document : documents)
        ASSERT_EQ(PropertyText(document.properties["content"]).size(), kRecordText) << document.url;
}

TEST(IndexLog, TruncateEmptiesTheLogForEveryWriter) {
    TempDir dir;
    IndexLog writer(Wide(dir.path())), resetter(Wide(dir.path()));
    ASSERT_EQ(writer.Append(AddRecord(Mail("a", "", ""))), S_OK);
    ASSERT_EQ(resetter.Truncate(), S_OK);
    EXPECT_EQ(writer.ReadWholeLines().text(), "");
    ASSERT_EQ(writer.Append(AddRecord(Mail("b", "", ""))), S_OK);
    const auto documents = LiveDocuments(writer.ReadWholeLines());
    ASSERT_EQ(documents.size(), 1u);
    EXPECT_EQ(documents[0].url, "b");
}

TEST(AddRecord, WritesExactlyWhatTheJsonLibraryWrites) {
    const std::string texts[] = {
        "",
        "plain words",
        "quote \" backslash \\ slash /",
        "\b\f\n\r\t",
        std::string("\x01\x1f\x7f nul\0byte", 15),
        "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80", // é € and an emoji
        "\xc3",                                      // cut short
        "\xe2\x82",
        "\xf0\x9f\x98",
        "\xc0\x80",         // overlong
        "\xed\xa0\x80",     // a surrogate
        "\xf4\x90\x80\x80", // beyond U+10FFFF
        "ok\xffok\x80",
    };
    for (const std::string& text : texts) {
        Document document = Mail(text, text, text);
        document.schema = "ZendriDS.Mail";
        document.component = text;
        document.properties["name " + text] = text;
        document.properties["number"] = -42;
        document.properties["time"] = Properties{{"date", 38854.5}};
        nlohmann::ordered_json expected;
        expected["op"] = "add";
        expected["url"] = document.url;
        expected["engine"] = document.engine;
        expected["schema"] = document.schema;
        expected["component"] = document.component;
        expected["props"] = document.properties;
        EXPECT_EQ(AddRecord(document),
                  expected.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace))
            << testing::PrintToString(text);
    }
}

TEST(Search, AllWordsMustMatchWithoutRegardToCaseInAnyScript) {
    const std::vector<Document> documents = {
        Mail("1", "\xc3\x84rger im B\xc3\xbcro", "Der Drucker streikt"), // Ärger im Büro
        Mail("2", "Lunch",
             "\xce\x9a\xce\xb1\xce\xbb\xce\xb7\xce\xbc\xce\xad\xcf\x81\xce\xb1"), // Καλημέρα
        Mail("3", "Printer", "the printer in the b\xc3\xbcro is down"),
    };
    const struct {
        const wchar_t* query;
        std::vector<std::string> urls;
    } cases[] = {
        {L"\u00e4RGER", {"1"}},     {L"\u03ba\u0391\u039b\u0397\u039c\u0388\u03a1\u0391", {"2"}},
        {L"B\u00dcRO", {"1", "3"}}, {L"b\u00fcro printer", {"3"}},
        {L"printer lunch", {}},     {L"   ", {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> urls;
        for (const Hit& hit : Search(documents, c.query))
            urls.push_back(hit.document->url);
        std::sort(urls.begin(), urls.end());
        EXPECT_EQ(urls, c.urls) << "query " << testing::PrintToString(std::wstring(c.query));
    }
}

TEST(Search, SubjectOutranksContentAndNewerWinsATie) {
    std::vector<Document> documents = {Mail("body", "other", "budget"), Mail("old", "budget", ""),
                                       Mail("new", "budget", "")};
    for (size_t i = 0; i < documents.size(); ++i)
        documents[i].sequence = i + 1;
    const auto hits = Search(documents, L"Budget");
    ASSERT_EQ(hits.size(), 3u);
    EXPECT_EQ(hits[0].document->url, "new");
    EXPECT_EQ(hits[1].document->url, "old");
    EXPECT_EQ(hits[2].document->url, "body");
}

TEST(Search, SnippetShowsTheContentAroundTheFirstMatch) {
    const std::string content = std::string(300, 'a') + " needle " + std::string(300, 'b');
    const auto hits = Search({Mail("u", "", content)}, L"NEEDLE");
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_NE(hits[0].snippet.find("needle"), std::string::npos);
    EXPECT_EQ(hits[0].snippet.substr(0, 3), "...");
    EXPECT_LT(hits[0].snippet.size(), 200u);
}

TEST(PropertyText, DatesAndSecondsPrintAsUtcTimes) {
    const struct {
        Properties value;
        std::string text;
    } cases[] = {
        {Properties{{"date", 38854.5}}, "2006-05-17T12:00:00Z"},
        {Properties{{"date", 0.0}}, "1899-12-30T00:00:00Z"},
        {Properties{{"date", -1.25}}, "1899-12-29T06:00:00Z"},
        {Properties(43200), "1970-01-01T12:00:00Z"},
        {Properties(-86400), "1969-12-31T00:00:00Z"},
        {Properties("text"), "text"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TimeText(c.value), c.text) << c.value.dump();
    EXPECT_EQ(PropertyText(Properties(43200)), "43200");
}

} // namespace

namespace {

TEST(Candidates, FindExactlyWhatAFullSearchFindsOverRawRecords) {
    Document quoted = Mail("Tamsel:///Q//1", "Say \"Hi\\there\"", "line one\r\nline two");
    Document dotted = Mail("Tamsel:///Q//2", "\xc4\xb0STANBUL trip", ""); // İSTANBUL
    Document keyed = Mail("Tamsel:///Q//3", "nothing", "plain");
    Document escapedUrl = Mail("Tamsel:///Q//\"4\"", "odd url", "");
    std::string log;
    for (const Document* d : {&quoted, &dotted, &keyed, &escapedUrl})
        log += AddRecord(*d) + "\n";
    const struct {
        const wchar_t* query;
        std::vector<std::string> urls;
    } cases[] = {
        {L"\"hi\\there\"", {"Tamsel:///Q//1"}},
        {L"TWO", {"Tamsel:///Q//1"}},
        {L"subject", {}}, // a property's name is not its text
        {L"zendri", {}},  // nor is the engine's name
        {L"\u0130stanbul", {"Tamsel:///Q//2"}},
        {L"q//3", {"Tamsel:///Q//3"}},
        {L"\"4\"", {"Tamsel:///Q//\"4\""}},
    };
    const std::vector<Document> all = LiveDocuments(log);
    ASSERT_EQ(all.size(), 4u);
    for (const auto& c : cases) {
        std::vector<std::string> fast, full;
        const auto candidates = Candidates(log, c.query);
        for (const Hit& hit : Search(candidates, c.query))
            fast.push_back(hit.document->url);
        for (const Hit& hit : Search(all, c.query))
            full.push_back(hit.document->url);
        EXPECT_EQ(fast, full) << testing::PrintToString(std::wstring(c.query));
        EXPECT_EQ(fast, c.urls) << testing::PrintToString(std::wstring(c.query));
    }
}

TEST(Candidates, AReplacedOrRemovedRecordIsNeverACandidate) {
    const std::string log = AddRecord(Mail("a", "alpha", "")) + "\n" +
                            AddRecord(Mail("a", "beta", "")) + "\n" +
                            AddRecord(Mail("b", "alpha", "")) + "\n" + RemoveRecord("b") + "\n";
    EXPECT_TRUE(Candidates(log, L"alpha").empty());
    ASSERT_EQ(Candidates(log, L"beta").size(), 1u);
    EXPECT_EQ(LiveAddRecords(log).lines.size(), 1u);
}

} // namespace
