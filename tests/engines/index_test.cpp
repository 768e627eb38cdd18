#include "document.h"
#include "index_log.h"
#include "records.h"
#include "search.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using namespace engine_index;
using testing_support::TempDir;

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

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

TEST(Search, AllWordsMustMatchWithoutRegardToCaseInAnyScript) {
    const std::vector<Document> documents = {
        Mail("1", "\xc3\x84rger im B\xc3\xbcro", "Der Drucker streikt"),         // Ärger im Büro
        Mail("2", "Lunch", "\xce\x9a\xce\xb1\xce\xbb\xce\xb7\xce\xbc\xce\xad\xcf\x81\xce\xb1"), // Καλημέρα
        Mail("3", "Printer", "the printer in the b\xc3\xbcro is down"),
    };
    const struct {
        const wchar_t* query;
        std::vector<std::string> urls;
    } cases[] = {
        {L"\u00e4RGER", {"1"}},
        {L"\u03ba\u0391\u039b\u0397\u039c\u0388\u03a1\u0391", {"2"}},
        {L"B\u00dcRO", {"1", "3"}},
        {L"b\u00fcro printer", {"3"}},
        {L"printer lunch", {}},
        {L"   ", {}},
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
    std::vector<Document> documents = {Mail("body", "other", "budget"),
                                       Mail("old", "budget", ""), Mail("new", "budget", "")};
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
    Document dotted = Mail("Tamsel:///Q//2", "\xc4\xb0STANBUL trip", "");  // İSTANBUL
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
        {L"subject", {}},          // a property's name is not its text
        {L"zendri", {}},           // nor is the engine's name
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
