#include "database.h"
#include "formula.h"
#include "item_values.h"
#include "sample_data.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <map>

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
    ASSERT_EQ(discussion->readNote(discussion->entries()[0].id, form), store::kOk);
    EXPECT_EQ(form.noteClass, store::NoteClass::Form);
    ASSERT_EQ(discussion->readNote(discussion->entries()[2].id, topic), store::kOk);
    std::string error;
    const auto formula =
        store::Formula::Parse(store::ItemToText(*form.find("$WindowTitle"), ""), error);
    ASSERT_TRUE(formula) << error;
    const auto title = formula->evaluate(topic);
    ASSERT_TRUE(title);
    EXPECT_EQ(title->texts.at(0), "Topic: " + store::ItemToText(*topic.find("Subject"), ""));
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
    ASSERT_EQ(roster->readNote(roster->entries().back().id, a), store::kOk);
    ASSERT_EQ(other->readNote(other->entries().back().id, b), store::kOk);
    EXPECT_EQ(store::ItemToText(*a.find("FullName"), "|"),
              store::ItemToText(*b.find("FullName"), "|"));
    EXPECT_THROW(zrb::WriteSampleDirectory(again.path(), counts), std::runtime_error)
        << "never overwrites a database";
}

} // namespace
