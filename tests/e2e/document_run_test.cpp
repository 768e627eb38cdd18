#include "database_run.h"
#include "rich_text.h"

#include <cstdio>
#include <thread>

namespace {

using nlohmann::json;

store::Item Times(const std::string& name, const std::vector<std::string>& texts) {
    return {name, store::ItemType::TimeRange, false, texts};
}
store::Item Number(const std::string& name, double value) {
    return {name, store::ItemType::Number, false, value};
}
store::Item Formula(const std::string& name, const std::string& source) {
    return {name, store::ItemType::Formula, false, source};
}
store::Item Body(const std::string& text) {
    return {"Body", store::ItemType::RichText, false, store::RichTextFromPlain(text)};
}

// A weekly meeting of 90 minutes; the client's clock is set between its first two dates.
std::vector<store::Item> Meeting(const std::string& subject, const std::string& end) {
    return {
        Text("Form", "Appointment"),
        Text("Subject", subject),
        Times("CalendarDateTime", {"2026-05-25 01:00:00.00 +00:00", "2026-06-08 01:00:00.00 +00:00",
                                   "2026-06-15 01:00:00.00 +00:00"}),
        Time("StartDateTime", "2026-05-25 01:00:00.00 +00:00"),
        Time("EndDateTime", end),
        List("RequiredAttendees", {"CN=Anna Berg/O=Acme", "Bo"}),
        List("OptionalAttendees", {"Cecilia"}),
        Text("Location", "Lighthouse, room 3"),
        Body("Agenda: tides")};
}
const char* const meetingEnd = "2026-05-25 02:30:00.00 +00:00";

// Every kind of document in the databases of a user: calendar entries and tasks in the mail
// file, contacts, journal entries, a discussion, and the history database.
class DocumentRun : public DatabaseRun {
  protected:
    void SetUp() override {
        CreateDatabase("mail.zrb", "Anna's Mail");
        CreateDatabase("roster.zrb", "Contacts");
        CreateDatabase("journal.zrb", "Journal");
        CreateDatabase("discussion.zrb", "Team Discussion");
        CreateDatabase("shelf.zrb", "History");
        PutNote("discussion.zrb",
                {Text("$TITLE", "Main Topic|MainTopic"),
                 Formula("$WindowTitle", R"("Topic: " + Subject)")},
                0, store::NoteClass::Form);
        PutNote("discussion.zrb", {Text("$TITLE", "Expense"), Formula("$WindowTitle", "Amount")}, 0,
                store::NoteClass::Form);
        WriteClientSettings(data, "DesktopSearchIndexEnabled=1\r\nDesktopSearchWaitTime=0\r\n"
                                  "DesktopSearchInstallInstructions=1\r\nDesktopSearchDebug=1\r\n"
                                  "DesktopSearchFreqMinutes=1\r\n"
                                  "DesktopSearchFilePath=mail.zrb\r\n"
                                  "DesktopSearchFilePath1=roster.zrb\r\n"
                                  "DesktopSearchFilePath2=journal.zrb\r\n"
                                  "DesktopSearchFilePath3=discussion.zrb\r\n");
        // The clock the client shows: between the meetings' first and second dates.
        SetEnvironmentVariableA("TAMSEL_CLOCK", "2026-06-01 00:00:00.00 +00:00");
    }
    void TearDown() override {
        SetEnvironmentVariableA("TAMSEL_CLOCK", nullptr);
        DatabaseRun::TearDown();
    }
    // The URLs of a database's documents start with its replica id.
    std::string UrlPrefix(const std::string& file) const {
        char prefix[64];
        std::snprintf(prefix, sizeof prefix, "Tamsel:///%016llX//",
                      static_cast<unsigned long long>(OpenDatabase(file)->info().replicaId));
        return prefix;
    }
    // Every listed document of the database, emptied ones too.
    std::vector<json> ListedFrom(const std::string& file) const {
        std::vector<json> found;
        const std::string prefix = UrlPrefix(file);
        for (const json& summary : json::parse(engines.Zsearch(L"--json list").output))
            if (summary["url"].get<std::string>().rfind(prefix, 0) == 0)
                found.push_back(summary);
        return found;
    }
};

TEST_F(DocumentRun, EveryKindIsIndexedChangedAndRemovedWhileTheClientRuns) {
    const uint32_t renamed = PutNote("mail.zrb", Meeting("Planning", meetingEnd));
    const uint32_t unusable = PutNote("mail.zrb", Meeting("Retrospective", meetingEnd));
    const uint32_t leaving =
        PutNote("roster.zrb", {Text("Form", "Person"), Text("FullName", "Dag Holm")});
    const uint32_t archived = PutNote("shelf.zrb", {Text("Form", "Memo"), Text("Subject", "Old")});
    PutNote("shelf.zrb", {Text("Form", "Memo"), Text("Subject", "Kept in the archive")});

    // The first pass runs at once; these arrive during the client's first minute.
    std::thread editing([&] {
        Sleep(15000);
        PutNote("mail.zrb", Meeting("Harbour walk", meetingEnd));
        PutNote("mail.zrb", Meeting("Planning, second round", meetingEnd), renamed);
        PutNote("mail.zrb", Meeting("Retrospective", "2026-05-25 00:30:00.00 +00:00"), unusable);
        PutNote("mail.zrb",
                {Text("Form", "Task"), Text("Subject", "File the tide tables"),
                 Times("CalendarDateTime", {"2026-05-20 07:00:00.00 +00:00"}),
                 Time("StartDateTime", "2026-05-20 07:00:00.00 +00:00"),
                 Time("DueDateTime", "2026-06-02 09:00:00.00 +00:00"), Number("TaskType", 1),
                 Number("DueState", 1), Number("Importance", 1), Body("All of them")});
        PutNote("roster.zrb",
                {Text("Form", "Person"), List("FullName", {"CN=Eva Lind/O=Acme", "Eva Lind"}),
                 Text("OfficePhoneNumber", "+46 31 555 0100"), Text("OfficeCity", "Göteborg"),
                 Text("OfficeStreetAddress", "Kajen 1"), Text("MiscLabel1", "Nickname"),
                 Text("MiscPhone1", "Evi")});
        EXPECT_EQ(OpenDatabase("roster.zrb")->deleteNote(leaving), store::kOk);
        PutNote("journal.zrb",
                {Text("Form", "JournalEntry"), Text("Subject", "Low tide"),
                 Time("TimeCreated", "2026-05-21 18:00:00.00 +00:00"), Body("Saw the seals")});
        PutNote("discussion.zrb",
                {Text("Form", "MainTopic"), Text("Subject", "Lanterns"), Body("Who brings them?")});
        PutNote("discussion.zrb", {Text("Form", "Expense"), Number("Amount", 42.5)});
        EXPECT_EQ(OpenDatabase("shelf.zrb")->deleteNote(archived), store::kOk);
    });
    Index("--seconds 100 --menu 0");
    editing.join();

    const auto documents = Documents();
    EXPECT_EQ(
        Subjects(documents),
        (std::set<std::string>{"Harbour walk", "Planning, second round", "File the tide tables",
                               "Eva Lind/Acme, Eva Lind", "Low tide", "Topic: Lanterns", "42.5"}));
    const auto content = [&](const std::string& subject) -> std::string {
        const auto found = documents.find(subject);
        return found == documents.end() ? "" : found->second.value("content", "");
    };
    const std::string meeting = content("Harbour walk");
    EXPECT_TRUE(Has(meeting, "start_date: (GMT+08:00) 2026-6-8 9:00:00\r\n"
                             "end_date: (GMT+08:00) 2026-6-8 10:30:00\r\nduration: 90\r\n"
                             "recurrence_pattern: 05-25-2026 01:00:00 / 05-25-2026 02:30:00; "
                             "06-08-2026 01:00:00 / 06-08-2026 02:30:00; 06-15-2026 01:00:00 / "
                             "06-15-2026 02:30:00\r\n"))
        << "the next meeting after the client's clock: " << meeting;
    EXPECT_TRUE(Has(meeting, "attendees: Anna Berg/Acme, Bo,Cecilia\r\n")) << meeting;
    EXPECT_TRUE(Has(meeting, "location: Lighthouse, room 3\r\n")) << meeting;
    EXPECT_TRUE(Has(meeting, "Agenda: tides")) << meeting;
    const std::string task = content("File the tide tables");
    EXPECT_TRUE(Has(task, "due_date: (GMT+08:00) 2026-6-2 17:00:00\r\n")) << task;
    EXPECT_TRUE(Has(task, "status: 1\r\n")) << task;
    EXPECT_TRUE(Has(task, "importance: 2\r\n")) << task;
    const std::string contact = content("Eva Lind/Acme, Eva Lind");
    EXPECT_TRUE(Has(contact, "business_address: Kajen 1\r\nGöteborg, \r\n")) << contact;
    EXPECT_TRUE(Has(contact, "business_phone: +46 31 555 0100\r\n")) << contact;
    EXPECT_TRUE(Has(contact, "primary_phone: +46 31 555 0100\r\n")) << contact;
    EXPECT_TRUE(Has(contact, "nickname: Evi\r\n")) << contact;
    EXPECT_TRUE(Has(content("Low tide"), "start_time: (GMT+08:00) 2026-5-22 2:00:00\r\n"));
    EXPECT_TRUE(Has(content("Topic: Lanterns"), "Who brings them?"));
    for (const auto& [subject, properties] : documents)
        EXPECT_NE(properties.value("folder_name", ""), "") << subject;

    // The history database was walked for its deletion alone: one emptied document.
    const auto history = ListedFrom("shelf.zrb");
    ASSERT_EQ(history.size(), 1u) << "a deletion notice and nothing converted";
    EXPECT_EQ(history[0]["subject"], "");
}

} // namespace
