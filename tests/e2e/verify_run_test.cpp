#include "database_run.h"
#include "file_text.h"
#include "index/index_log.h"
#include "index/records.h"
#include "registered_plugin.h"
#include "rich_text.h"
#include "store_time.h"

#include <algorithm>
#include <atomic>
#include <optional>
#include <thread>

namespace {

using nlohmann::json;

struct Verified {
    DWORD exitCode;
    json report;
};

// A finding as verify's report names it; ghosts with their reason.
using Finding = std::tuple<std::string, std::string, std::string>; // kind, url, reason

class VerifyRun : public DatabaseRun {
  protected:
    void SetUp() override {
        CreateDatabase("mail.zrb", "Mail");
        WriteClientSettings(data, "DesktopSearchIndexEnabled=1\r\nDesktopSearchWaitTime=0\r\n"
                                  "DesktopSearchInstallInstructions=1\r\n"
                                  "DesktopSearchFilePath=mail.zrb\r\n");
    }
    uint32_t PutMail(const std::string& subject, uint32_t id = 0) {
        return PutNote("mail.zrb",
                       {Text("Form", "Memo"),
                        Text("From", "Carl"),
                        List("SendTo", {"Anna"}),
                        Text("Subject", subject),
                        {"Body", store::ItemType::RichText, false,
                         store::RichTextFromPlain("About " + subject)},
                        Time("PostedDate", "2026-12-08 09:00:00.00 +01:00")},
                       id);
    }
    std::map<std::string, std::string> UrlsBySubject() const {
        std::map<std::string, std::string> urls;
        for (const json& summary : Listed())
            urls[summary["subject"]] = summary["url"];
        return urls;
    }
    Verified Verify(const std::wstring& more = L"") const {
        const auto run =
            engines.Zsearch(L"--json verify --data \"" + Wide(data.path()) + L"\"" + more);
        const json report = json::parse(run.output, nullptr, false);
        EXPECT_FALSE(report.is_discarded()) << run.output;
        return {run.exitCode, report};
    }
    static std::set<Finding> Findings(const json& report) {
        std::set<Finding> found;
        for (const json& database : report["databases"])
            for (const char* kind : {"missing", "stale", "ghost", "duplicate", "pending"})
                for (const json& entry : database[kind])
                    found.insert(entry.is_object() ? Finding{kind, entry["url"], entry["reason"]}
                                                   : Finding{kind, entry.get<std::string>(), ""});
        return found;
    }
    void AppendToIndex(const std::string& record) const {
        engine_index::IndexLog log(Wide(engines.IndexFolder()));
        ASSERT_EQ(log.Append(record), S_OK);
    }
    static engine_index::Document Mail(const std::string& url, const std::string& subject) {
        engine_index::Document document{url, "zendri", "ZendriDS.Mail", "{test}"};
        document.properties = {{"url", url}, {"subject", subject}, {"content", "x"}};
        return document;
    }
    // As if a pass had handled every change until now, though it did not.
    void StampNow() const {
        Sleep(50); // the last change may be a hundredth ahead of the clock
        const std::string path = data.file("tamsel.ini");
        std::string text = testing_support::ReadFileText(path);
        const size_t at = text.find("DesktopSearchTimestamp=");
        ASSERT_NE(at, std::string::npos) << text;
        const size_t end = text.find("\r\n", at);
        text.replace(at, end - at,
                     "DesktopSearchTimestamp=" + store::TimeToText(store::CurrentTime()));
        testing_support::WriteFileText(path, text);
        Sleep(50); // later changes fall after the stamp
    }
};

std::string ReplicaPart(const std::string& url) {
    return url.substr(0, url.find("//", 10) + 2);
}

// Without the plug-in registered as a COM server the second engine's query object has no
// cookie for it: the repair then takes documents out with the emptied event.
class VerifyRepairRun : public VerifyRun, public testing::WithParamInterface<bool> {};

TEST_P(VerifyRepairRun, ReportsExactlyWhatWasMadeWrongAndARepairWithOnePassMakesItClean) {
    std::optional<RegisteredPlugin> plugin;
    if (GetParam())
        plugin.emplace(data);
    PutMail("Removed from the index");
    const uint32_t changed = PutMail("Changed without a pass");
    const uint32_t deleted = PutMail("Deleted without a pass");
    const uint32_t pending = PutMail("Changed after the stamp");
    PutMail("Untouched");
    Index();
    const auto urls = UrlsBySubject();
    ASSERT_EQ(urls.size(), 5u);
    const Verified clean = Verify();
    EXPECT_EQ(clean.exitCode, 0u) << clean.report.dump(1);
    EXPECT_EQ(clean.report["databases"][0]["expected"], 5);
    EXPECT_EQ(clean.report["databases"][0]["indexed"], 5);

    const std::string untouched = urls.at("Untouched");
    const std::string phantom = ReplicaPart(untouched) + "00000000DEADBEEF00000000DEADBEEF";
    const std::string foreign = "Tamsel:///0123456789ABCDEF//0000000000000001000000000000002A";
    std::string variant = untouched;
    std::transform(variant.begin() + 10, variant.end(), variant.begin() + 10, ::tolower);
    AppendToIndex(engine_index::RemoveRecord(urls.at("Removed from the index")));
    AppendToIndex(engine_index::AddRecord(Mail(phantom, "Phantom")));
    AppendToIndex(engine_index::AddRecord(Mail(foreign, "Foreign")));
    AppendToIndex(engine_index::AddRecord(Mail(variant, "Untouched")));
    PutMail("Changed without a pass, second version", changed);
    ASSERT_EQ(OpenDatabase("mail.zrb")->deleteNote(deleted), store::kOk);
    StampNow();
    PutMail("Changed after the stamp, second version", pending);

    const std::set<Finding> made = {
        {"missing", urls.at("Removed from the index"), ""},
        {"stale", urls.at("Changed without a pass"), ""},
        {"ghost", urls.at("Deleted without a pass"), "note deleted"},
        {"ghost", phantom, "no such note"},
        {"ghost", foreign, "database not indexed"},
        {"duplicate", variant, ""},
        {"pending", urls.at("Changed after the stamp"), ""},
    };
    const Verified wrong = Verify();
    EXPECT_EQ(wrong.exitCode, 1u);
    EXPECT_EQ(Findings(wrong.report), made) << wrong.report.dump(1);
    EXPECT_EQ(wrong.report["total"],
              (json{{"missing", 1}, {"stale", 1}, {"ghost", 3}, {"duplicate", 1}, {"pending", 1}}));
    EXPECT_FALSE(wrong.report["changed"].get<bool>());

    const Verified repair = Verify(L" --repair");
    EXPECT_EQ(repair.exitCode, 0u) << repair.report.dump(1);
    EXPECT_EQ(repair.report["repair"]["stamps_moved"], 1);
    EXPECT_EQ(repair.report["repair"]["not_removed"], 0);
    EXPECT_EQ(repair.report["repair"][GetParam() ? "removed" : "emptied"], 4);
    Index();
    const Verified repaired = Verify();
    EXPECT_EQ(repaired.exitCode, 0u) << repaired.report.dump(1);
    EXPECT_TRUE(Findings(repaired.report).empty()) << repaired.report.dump(1);
    EXPECT_EQ(
        Subjects(Documents()),
        (std::set<std::string>{"Removed from the index", "Changed without a pass, second version",
                               "Changed after the stamp, second version", "Untouched"}));
}

INSTANTIATE_TEST_SUITE_P(QueryRoadOrEmptiedEvent, VerifyRepairRun, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "PluginRegistered" : "PluginNotRegistered";
                         });

// Notes arriving and documents coming and going while verify looks: every report is whole,
// and what came and went between its looks is not called wrong.
TEST_F(VerifyRun, ChangesWhileVerifyingAreNeverReportedAsErrors) {
    PutMail("Before");
    Index();
    std::atomic<bool> done{false};
    std::thread changer([&] {
        const std::string replica = ReplicaPart(UrlsBySubject().at("Before"));
        for (int n = 0; !done; ++n) {
            PutMail("Arriving " + std::to_string(n));
            const std::string passing = replica + "0000000000000000" + std::to_string(100000 + n);
            AppendToIndex(engine_index::AddRecord(Mail(passing, "Passing")));
            AppendToIndex(engine_index::RemoveRecord(passing));
        }
    });
    for (int run = 0; run < 5; ++run) {
        const Verified verified = Verify();
        EXPECT_LE(verified.exitCode, 1u);
        const json& total = verified.report["total"];
        EXPECT_EQ(total["missing"], 0) << verified.report.dump(1);
        EXPECT_EQ(total["ghost"], 0) << verified.report.dump(1);
        EXPECT_EQ(total["stale"], 0) << verified.report.dump(1);
    }
    done = true;
    changer.join();
}

TEST_F(VerifyRun, BadArgumentsAndMissingFoldersAreNamedWithANonZeroExit) {
    testing_support::WriteFileText(data.file("plain.txt"), "not a folder");
    const std::wstring folder = L"\"" + Wide(data.path()) + L"\"";
    const struct {
        const char* name;
        std::wstring arguments;
        DWORD exitCode;
        std::string says;
    } cases[] = {
        {"no data", L"verify", 2, "bad arguments"},
        {"data without folder", L"verify --data", 2, "bad arguments"},
        {"unknown switch", L"verify --data " + folder + L" --fix", 2, "bad arguments"},
        {"data twice", L"verify --data " + folder + L" --data " + folder, 2, "bad arguments"},
        {"missing folder", L"verify --data \"" + Wide(data.file("nowhere")) + L"\"", 1,
         "no data folder at"},
        {"file as folder", L"verify --data \"" + Wide(data.file("plain.txt")) + L"\"", 1,
         "is a file"},
    };
    for (const auto& c : cases) {
        const auto run = engines.Zsearch(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name << ": " << run.output;
        EXPECT_TRUE(Has(run.output, c.says)) << c.name << ": " << run.output;
    }
    // The engines' index folder replaced by a file.
    const std::wstring index = Wide(engines.IndexFolder());
    const std::wstring moved = index + L".moved";
    ASSERT_TRUE(MoveFileW(index.c_str(), moved.c_str()));
    testing_support::WriteFileText(engines.IndexFolder(), "not a folder");
    const auto run = engines.Zsearch(L"verify --data " + folder);
    DeleteFileW(index.c_str());
    MoveFileW(moved.c_str(), index.c_str());
    EXPECT_EQ(run.exitCode, 1u) << run.output;
    EXPECT_TRUE(Has(run.output, "index folder")) << run.output;
    EXPECT_TRUE(Has(run.output, "is a file")) << run.output;
}

} // namespace
