#include "database.h"
#include "formula.h"
#include "item_values.h"
#include "sample_data.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

class SampleDirectory : public ::testing::Test {
  protected:
    void SetUp() override {
        counts.mails = 120;
        counts.seed = 7;
        zrb::WriteSampleDirectory(dir.path(), counts);
    }
    std::unique_ptr<store::Database> Open(const char* name) {
        std::unique_ptr<store::Database> database;
        EXPECT_EQ(store::Database::Open(
                      store::OpenJournalFile(dir.path() + "/" + name, store::OpenMode::ReadOnly),
                      database),
                  store::kOk)
            << name;
        if (!database)
            throw std::runtime_error(std::string("no ") + name);
        return database;
    }
    // Form name -> how many notes carry it.
    static std::map<std::string, int> Forms(store::Database& database) {
        std::map<std::string, int> forms;
        for (const auto& entry : database.entries()) {
            store::Note note;
            EXPECT_EQ(database.readNote(entry.id, note), store::kOk) << entry.id;
            if (const store::Item* form = note.find("Form"))
                ++forms[store::ItemToText(*form, "")];
        }
        return forms;
    }

    testing_support::TempDir dir;
    zrb::SampleCounts counts;
};

TEST_F(SampleDirectory, MailFileHoldsEveryKindTheConvertersRead) {
    auto mail = Open("mail.zrb");
    const auto forms = Forms(*mail);
    EXPECT_EQ(forms.at("Appointment"), counts.appointments);
    EXPECT_EQ(forms.at("Task"), counts.tasks);
    EXPECT_EQ(forms.at("Memo") + forms.at("Reply") + forms.at("Notice"), counts.mails);
    EXPECT_FALSE(mail->unreadNotes("Anna Berg").empty());

    int drafts = 0, chats = 0, attachments = 0, sealed = 0, repeating = 0;
    for (const auto& entry : mail->entries()) {
        store::Note note;
        ASSERT_EQ(mail->readNote(entry.id, note), store::kOk);
        const bool memo = note.find("SendTo") && !note.find("CalendarDateTime");
        drafts += memo && !note.find("PostedDate") && !note.find("$IMTranscript");
        chats += note.find("$IMTranscript") != nullptr;
        attachments += note.find("$FILE") != nullptr;
        sealed += note.find("Body") && note.find("Body")->sealed;
        if (const store::Item* starts = note.find("CalendarDateTime"))
            repeating += store::ItemValueCount(*starts) > 1;
    }
    EXPECT_GT(drafts, 0);
    EXPECT_GT(chats, 0);
    EXPECT_GT(attachments, 0);
    EXPECT_GT(sealed, 0);
    EXPECT_GT(repeating, 0);
}

TEST_F(SampleDirectory, OtherDatabasesAndTheDiscussionFormsTitle) {
    EXPECT_EQ(Forms(*Open("roster.zrb")).at("Person"), counts.contacts);
    const auto journal = Forms(*Open("journal.zrb"));
    EXPECT_EQ(journal.at("JournalEntry") + journal.at("CleanSheet"), counts.journal);
    EXPECT_EQ(Open("shelf.zrb")->info().title, "History");

    auto discussion = Open("discussion.zrb");
    store::Note form, topic;
    ASSERT_EQ(discussion->readNote(discussion->entries().front().id, form), store::kOk);
    EXPECT_EQ(form.noteClass, store::NoteClass::Form);
    for (const auto& entry : discussion->entries())
        if (discussion->readNote(entry.id, topic) == store::kOk && topic.find("Form") &&
            store::ItemToText(*topic.find("Form"), "") == "MainTopic")
            break;
    ASSERT_TRUE(topic.find("Subject"));
    std::string error;
    const auto formula =
        store::Formula::Parse(store::ItemToText(*form.find("$WindowTitle"), ""), error);
    ASSERT_TRUE(formula) << error;
    const auto title = formula->evaluate(topic);
    ASSERT_TRUE(title);
    EXPECT_EQ(title->texts.at(0), "Topic: " + store::ItemToText(*topic.find("Subject"), ""));
}

// Every item the converters read turns up in the sample, and so do the values that choose
// between their roads.
TEST_F(SampleDirectory, EveryItemAndValueTheConvertersTellApartIsThere) {
    counts.appointments = counts.tasks = counts.contacts = counts.journal = counts.other = 70;
    testing_support::TempDir full;
    zrb::WriteSampleDirectory(full.path(), counts);
    const struct {
        const char* database;
        const char* form;
        std::vector<std::string> items;   // on some notes of the form
        std::vector<std::string> missing; // absent from some of them
    } cases[] = {
        {"mail.zrb",
         "Appointment",
         {"RequiredAttendees", "OptionalAttendees", "Location", "Chair", "over 100 occurrences"},
         {"RequiredAttendees", "OptionalAttendees"}},
        {"mail.zrb",
         "Task",
         {"DueState", "Importance", "CompletedDateTime", "PostedDate", "Chair"},
         {"DueState", "Importance", "CompletedDateTime", "DueDateTime"}},
        {"roster.zrb",
         "Person",
         {"OfficeStreetAddress",
          "OfficeState",
          "OfficeCountry",
          "StreetAddress",
          "Zip",
          "OfficePhoneNumber",
          "CellPhoneNumber",
          "PersPager",
          "PhoneNumber_6",
          "PhoneNumber",
          "OfficeFAXPhoneNumber",
          "HomeFAXPhoneNumber",
          "Birthday",
          "Anniversary",
          "Assistant",
          "Children",
          "Manager",
          "Location",
          "MiscLabel1",
          "MiscLabel2",
          "MiscLabel3"},
         {"CellPhoneNumber", "OfficeCountry", "Anniversary", "MiscLabel1"}},
        {"journal.zrb", "JournalEntry", {"TimeCreated"}, {"TimeCreated"}},
        {"discussion.zrb", "MainTopic", {"$WindowTitle"}, {"$WindowTitle"}},
    };
    std::map<std::string, std::set<std::string>> values; // "item=value" seen per form
    for (const auto& c : cases) {
        std::unique_ptr<store::Database> database;
        ASSERT_EQ(store::Database::Open(store::OpenJournalFile(full.path() + "/" + c.database,
                                                               store::OpenMode::ReadOnly),
                                        database),
                  store::kOk);
        std::map<std::string, int> present;
        int notes = 0;
        for (const auto& entry : database->entries()) {
            store::Note note;
            ASSERT_EQ(database->readNote(entry.id, note), store::kOk);
            if (!note.find("Form") || store::ItemToText(*note.find("Form"), "") != c.form)
                continue;
            ++notes;
            for (const auto& item : note.items) {
                ++present[item.name];
                values[c.form].insert(item.name + "=" + store::ItemToText(item, "|"));
            }
            if (const store::Item* starts = note.find("CalendarDateTime"))
                present["over 100 occurrences"] += store::ItemValueCount(*starts) > 100;
        }
        for (const auto& item : c.items)
            EXPECT_GT(present[item], 0) << c.form << " " << item;
        for (const auto& item : c.missing)
            EXPECT_LT(present[item], notes) << c.form << " " << item;
    }
    for (const char* value :
         {"DueState=0", "DueState=1", "DueState=2", "DueState=8", "DueState=9", "Importance=1",
          "Importance=2", "Importance=3", "Importance=4", "TaskType=1", "TaskType=2"})
        EXPECT_EQ(values["Task"].count(value), 1u) << value;
    for (const char* label : {"MiscLabel1=Email", "MiscLabel2=Online Name", "MiscLabel3=URL",
                              "MiscLabel1=Nickname", "MiscLabel2=Other Email 2"})
        EXPECT_EQ(values["Person"].count(label), 1u) << label;
}

TEST_F(SampleDirectory, SameSeedWritesTheSameNotes) {
    testing_support::TempDir again;
    zrb::WriteSampleDirectory(again.path(), counts);
    std::unique_ptr<store::Database> other;
    ASSERT_EQ(
        store::Database::Open(
            store::OpenJournalFile(again.path() + "/roster.zrb", store::OpenMode::ReadOnly), other),
        store::kOk);
    auto roster = Open("roster.zrb");
    store::Note a, b;
    ASSERT_EQ(roster->readNote(roster->entries().lastId(), a), store::kOk);
    ASSERT_EQ(other->readNote(other->entries().lastId(), b), store::kOk);
    EXPECT_EQ(store::ItemToText(*a.find("FullName"), "|"),
              store::ItemToText(*b.find("FullName"), "|"));
    EXPECT_THROW(zrb::WriteSampleDirectory(again.path(), counts), std::runtime_error)
        << "never overwrites a database";
}

} // namespace
