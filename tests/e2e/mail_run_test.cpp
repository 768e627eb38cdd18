#include "database_run.h"
#include "file_text.h"
#include "registered_plugin.h"
#include "rich_text.h"

#include <thread>

namespace {

using nlohmann::json;

// One mail database that the test writes between (and during) the client's runs.
class MailRun : public DatabaseRun {
  protected:
    void SetUp() override {
        CreateDatabase("mail.zrb", "Dora's Mail");
        Settings("");
    }
    // The given lines come first: the first of two equal names counts.
    void Settings(const std::string& lines) {
        WriteClientSettings(data,
                            lines + "DesktopSearchIndexEnabled=1\r\nDesktopSearchWaitTime=0\r\n"
                                    "DesktopSearchInstallInstructions=1\r\nDesktopSearchDebug=1\r\n"
                                    "DesktopSearchFilePath=mail.zrb\r\n");
    }
    std::unique_ptr<store::Database> Open() const { return OpenDatabase("mail.zrb"); }
    uint32_t Put(std::vector<store::Item> items, uint32_t id = 0) {
        return PutNote("mail.zrb", std::move(items), id);
    }
    // A posted mail; with an empty posting time, a note without one (a draft or a transcript).
    uint32_t PutMail(const std::string& subject, const std::string& body = "Hello",
                     std::vector<store::Item> more = {},
                     const std::string& posted = "2026-12-08 09:00:00.00 +01:00") {
        std::vector<store::Item> items = {
            Text("Form", "Memo"),
            Text("From", "CN=Carl Ny/O=Acme"),
            List("SendTo", {"CN=Anna Berg/O=Acme", "bo@example.com"}),
            List("CopyTo", {"Cecilia"}),
            Text("Subject", subject),
            {"Body", store::ItemType::RichText, false, store::RichTextFromPlain(body)}};
        if (!posted.empty())
            items.push_back({"PostedDate", store::ItemType::Time, false, posted});
        items.insert(items.end(), more.begin(), more.end());
        return Put(items);
    }
    // The document URL the plug-in gives the note.
    std::string UrlOf(uint32_t id) const {
        const auto database = Open();
        store::Note note;
        EXPECT_NE(database->readNote(id, note), store::kNoNote);
        char url[80];
        std::snprintf(url, sizeof url, "Tamsel:///%016llX//%016llX%016llX",
                      (unsigned long long)database->info().replicaId,
                      (unsigned long long)note.originator.fileHalf,
                      (unsigned long long)note.originator.noteHalf);
        return url;
    }
};

TEST_F(MailRun, AMessageArrivingWhileTheClientRunsIsFoundAfterTheNextCycle) {
    Settings("DesktopSearchFreqMinutes=1\r\n");
    PutMail("Before the start");
    // The first pass runs at once; the message below arrives during the client's first minute.
    std::thread delivery([this] {
        Sleep(15000);
        PutMail("Harbour festival", "Bring the lanterns", {}, "2006-05-17 09:30:00.00 +08:00");
    });
    Index("--seconds 80 --menu 0");
    delivery.join();
    const auto documents = Documents();
    ASSERT_EQ(Subjects(documents), (std::set<std::string>{"Before the start", "Harbour festival"}));
    const json& mail = documents.at("Harbour festival");
    EXPECT_EQ(mail["from"], "Carl Ny/Acme");
    EXPECT_EQ(mail["to"], "Anna Berg/Acme, bo@example.com");
    EXPECT_EQ(mail["cc"], "Cecilia");
    EXPECT_EQ(mail["folder_name"], "Dora's Mail");
    EXPECT_EQ(mail["time"], 1147829400) << "the posted time in UTC";
    EXPECT_TRUE(mail["url"].get<std::string>().rfind("Tamsel:///", 0) == 0) << mail["url"];
    const std::string content = mail["content"];
    EXPECT_TRUE(Has(content, "Bring the lanterns")) << content;
    EXPECT_TRUE(Has(content, "mail_flags: ")) << content;
}

TEST_F(MailRun, ChangedMessagesReplaceTheOldAndDeletedOnesLeave) {
    const uint32_t changing = PutMail("First words");
    const uint32_t leaving = PutMail("Short lived");
    PutMail("Staying");
    Index();
    ASSERT_EQ(Subjects(Documents()),
              (std::set<std::string>{"First words", "Short lived", "Staying"}));
    std::string leavingUrl;
    for (const json& summary : Listed())
        if (summary["subject"] == "Short lived")
            leavingUrl = summary["url"];
    // Installed as a COM server, the plug-in holds the second engine's query cookie: the
    // deleted mail leaves by the query road, not as an emptied event.
    const RegisteredPlugin plugin(data);
    Put({Text("Form", "Memo"),
         Text("From", "CN=Carl Ny/O=Acme"),
         Text("Subject", "Second thoughts"),
         {"PostedDate", store::ItemType::Time, false, "2026-12-08 10:00:00.00 +01:00"}},
        changing);
    ASSERT_EQ(Open()->deleteNote(leaving), store::kOk);
    Index();
    EXPECT_EQ(Subjects(Documents()), (std::set<std::string>{"Second thoughts", "Staying"}));
    EXPECT_EQ(LastRecord(leavingUrl), "remove") << leavingUrl;
}

TEST_F(MailRun, DraftsOnlyWhenAskedAndChatsLeaveWhenSwitchedOff) {
    PutMail("Unfinished draft", "to be done", {}, ""); // never posted
    PutMail("Chat with Bo", "hi", {Text("$IMTranscript", "1")}, "");
    PutMail("Plain mail");
    Index();
    EXPECT_EQ(Subjects(Documents()), (std::set<std::string>{"Chat with Bo", "Plain mail"}));

    // A new start with the other switches indexes everything again.
    Settings("DesktopSearchIndexDrafts=1\r\nDesktopSearchNoIndexChats=1\r\n");
    Index();
    const auto documents = Documents();
    EXPECT_EQ(Subjects(documents), (std::set<std::string>{"Unfinished draft", "Plain mail"}));
    if (documents.count("Unfinished draft")) {
        EXPECT_EQ(documents.at("Unfinished draft")["folder_name"], "Drafts");
    }
}

// Drafts switched off, and other forms left out, after they were sent: the rebuild the dialog
// offers takes them out of the index.
TEST_F(MailRun, DocumentsTheSettingsNoLongerIndexLeaveWithTheRebuild) {
    Settings("DesktopSearchIndexDrafts=1\r\n");
    PutMail("Unsent draft", "later", {}, "");
    PutMail("Posted");
    Put({Text("Form", "Gadget"), Text("Subject", "A gadget")});
    Index();
    // A document of a form the database does not hold is titled by the database.
    ASSERT_EQ(ListedSubjects(), (std::set<std::string>{"Unsent draft", "Posted", "Dora's Mail"}));
    // Settings without time stamps: everything is sent again, as after a rebuild.
    Settings("DesktopSearchNoIndexAll=1\r\n");
    Index();
    EXPECT_EQ(ListedSubjects(), (std::set<std::string>{"Posted"}));
    EXPECT_EQ(VerifiedTotals(), nothingWrong);
}

// The engine answers a query for a URL it does not hold with a word search; a mail quoting
// that URL must not leave the index in its place.
TEST_F(MailRun, ANoticeForANoteNeverIndexedLeavesTheMailsThatQuoteItsUrl) {
    Settings("DesktopSearchNoIndexChats=1\r\n");
    const uint32_t chat = PutMail("Chat with Bo", "hi", {Text("$IMTranscript", "1")}, "");
    const uint32_t draft = PutMail("Unsent draft", "later", {}, "");
    Index();
    const RegisteredPlugin plugin(data); // the query road, with its cookie
    const uint32_t shortLived = PutMail("Short lived");
    const struct {
        uint32_t quoted;
        const char* subject;
    } quoting[] = {{chat, "About the chat"}, {draft, "About the draft"}, {shortLived, "About it"}};
    for (const auto& mail : quoting)
        PutMail(mail.subject, "See " + UrlOf(mail.quoted) + " again");
    // Deleted before the pass: its stub comes after the mails that quote it.
    ASSERT_EQ(Open()->deleteNote(shortLived), store::kOk);
    Index();
    // The transcript changes and the draft is thrown away while neither is in the index.
    Put({Text("Form", "Memo"), Text("Subject", "Chat with Bo"), Text("$IMTranscript", "1")}, chat);
    ASSERT_EQ(Open()->deleteNote(draft), store::kOk);
    Index();
    const auto documents = Documents();
    EXPECT_EQ(Subjects(documents),
              (std::set<std::string>{"About the chat", "About the draft", "About it"}));
    for (const auto& mail : quoting) {
        if (documents.count(mail.subject)) {
            EXPECT_TRUE(Has(documents.at(mail.subject)["content"], UrlOf(mail.quoted)))
                << mail.subject;
        }
    }
}

// The mail file is replaced by another database (a copy from another desk, made before the
// last pass): its mails predate the time stamp, and the replaced file's documents point at
// notes no database holds.
TEST_F(MailRun, AnotherDatabaseCopiedOverTheMailFileIsIndexedAnewAndTheOneBeforeLeaves) {
    CreateDatabase("other.zrb", "Dora's Other Mail");
    for (const char* subject : {"Copied one", "Copied two"})
        PutNote("other.zrb",
                {Text("Form", "Memo"),
                 Text("Subject", subject),
                 {"PostedDate", store::ItemType::Time, false, "2026-12-08 09:00:00.00 +01:00"}});
    for (const char* subject : {"Replaced one", "Replaced two"})
        PutMail(subject);
    Index();
    const RegisteredPlugin plugin(data); // the query road, with its cookie
    PutMail("Replaced three");
    Index();
    ASSERT_EQ(Subjects(Documents()),
              (std::set<std::string>{"Replaced one", "Replaced two", "Replaced three"}));
    ASSERT_TRUE(CopyFileA(data.file("other.zrb").c_str(), data.file("mail.zrb").c_str(), FALSE));
    Index();
    EXPECT_EQ(Subjects(Documents()), (std::set<std::string>{"Copied one", "Copied two"}));
    EXPECT_EQ(VerifiedTotals(), nothingWrong);
    EXPECT_TRUE(Has(testing_support::ReadFileText(data.file("tamsel.log")),
                    "(mail.zrb): The database at this path is another one"));
    // The next start finds the database it indexed.
    PutMail("Arrived later");
    Index();
    EXPECT_EQ(Subjects(Documents()),
              (std::set<std::string>{"Copied one", "Copied two", "Arrived later"}));
}

TEST_F(MailRun, AnEngineFailureMidPassIsResumedAndEveryMessageSentOnce) {
    std::vector<uint32_t> ids;
    for (int n = 1; n <= 12; ++n)
        ids.push_back(PutMail("Message " + std::to_string(n)));
    // One send in the middle of the pass fails, as from a stopped service.
    engines.SetSwitch(L"FailSendCode", 0x80040009);
    engines.SetSwitch(L"FailSendFrom", 7);
    engines.SetSwitch(L"FailSendCount", 1);
    Index();
    const size_t sent = Documents().size();
    EXPECT_GT(sent, 0u);
    EXPECT_LT(sent, 12u) << "stopped at the failing message";
    EXPECT_TRUE(
        Has(testing_support::ReadFileText(data.file("tamsel.ini")), "DesktopSearchTimestamp=0|"))
        << "a recovery point";
    // Below the recovery point, after the walk that sent them: the resumed walk must not skip
    // these changes.
    Put({Text("Form", "Memo"),
         Text("Subject", "Message 2"),
         {"Body", store::ItemType::RichText, false, store::RichTextFromPlain("Second thoughts")},
         {"PostedDate", store::ItemType::Time, false, "2026-12-09 09:00:00.00 +01:00"}},
        ids[1]);
    Put({Text("Form", "Memo"), Text("Subject", "Message 1 again")}, ids[0]); // now a draft
    engines.ClearSwitches();
    Index();
    const auto documents = Documents();
    EXPECT_EQ(documents.size(), 11u);
    EXPECT_EQ(documents.count("Message 1") + documents.count("Message 1 again"), 0u)
        << "drafts leave the index";
    EXPECT_TRUE(documents.count("Message 2") &&
                Has(documents.at("Message 2")["content"], "Second thoughts"));
    EXPECT_EQ(VerifiedTotals(), nothingWrong);
}

// A mail turned draft leaves by an emptied event (no query cookie here); the engine's failure
// to take it must stop the walk, not pass for done.
TEST_F(MailRun, ANoticeTheEngineFailedToTakeIsSentAgainByTheNextPass) {
    const uint32_t mail = PutMail("Going back to draft");
    PutMail("Staying");
    Index();
    ASSERT_EQ(Subjects(Documents()), (std::set<std::string>{"Going back to draft", "Staying"}));
    Put({Text("Form", "Memo"), Text("Subject", "Going back to draft")}, mail);
    engines.SetSwitch(L"FailSendCode", 0x80004005);
    engines.SetSwitch(L"FailSendFrom", 1); // every send, until cleared
    Index();
    engines.ClearSwitches();
    Index();
    EXPECT_EQ(Subjects(Documents()), (std::set<std::string>{"Staying"}));
    EXPECT_EQ(VerifiedTotals(), nothingWrong);
}

TEST_F(MailRun, AClientKilledMidPassIndexesEverythingAfterItsRestart) {
    for (int n = 1; n <= 300; ++n)
        PutMail("Message " + std::to_string(n), std::string(3000, 'x'));
    Settings("DesktopSearchWaitTime=70\r\n"); // slow enough to be caught in the middle
    EXPECT_EQ(RunClient(data, "--seconds 60 --menu 0", 10000).exitCode, int(killedExitCode));
    // Counted from the list alone: a show for each of 300 documents takes minutes on a busy host.
    const size_t before = ListedSubjects().size();
    EXPECT_GT(before, 0u) << "killed in the middle of the pass";
    EXPECT_LT(before, 300u);
    Settings("");
    Index("--seconds 20 --menu 0");
    EXPECT_EQ(ListedSubjects().size(), 300u);
}

TEST_F(MailRun, BodiesInManyScriptsComeBackAsWritten) {
    const std::vector<std::string> bodies = {
        "Anbei finden Sie die aktuellen Zahlen. Größe: 5 µm",
        "資料を添付しましたのでご確認ください。", "Высылаю отчёт за прошлый месяц.",
        "Σας στέλνω την αναφορά του μήνα.", "emoji 🚢 and café"};
    for (size_t n = 0; n < bodies.size(); ++n)
        PutMail("Script " + std::to_string(n), bodies[n]);
    Index();
    const auto documents = Documents();
    for (size_t n = 0; n < bodies.size(); ++n) {
        const auto found = documents.find("Script " + std::to_string(n));
        ASSERT_NE(found, documents.end()) << n;
        EXPECT_TRUE(Has(found->second["content"], bodies[n])) << found->second["content"];
    }
}

} // namespace
