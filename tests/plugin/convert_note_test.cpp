#include "conversion_fixtures.h"
#include "convert/convert_note.h"
#include "convert/form_rules.h"
#include "convert/note_kind.h"
#include "settings/index_type_mask.h"

#include <cstdio>

using namespace tamsel;

namespace {

class NoteDispatch : public FakeEngineConversion {
  protected:
    // Only mail carries its flags.
    bool SentAsMail() const {
        const auto contents = Added("content");
        return fakes.CallsStartingWith("Send").size() == 1 && contents.size() == 1 &&
               contents[0].find("mail_flags: ") != std::string::npos;
    }
};

std::vector<store::Item> WithForm(const char* form, std::vector<store::Item> items) {
    if (form)
        items.push_back(TextItem("Form", form));
    return items;
}

const std::vector<store::Item> fullMail = {TextItem("SendTo", "Anna"), TextItem("Subject", "s"),
                                           TextItem("From", "Bo"),
                                           TimeItem("PostedDate", "2006-05-17")};

TEST_F(NoteDispatch, MailIsKnownByItsFormOrByEnoughMailItems) {
    UseSettings("DesktopSearchIndexDrafts=1\n"); // mail without a posted date is sent too
    const struct {
        const char* form;
        std::vector<store::Item> items;
        bool mail, sent;
    } cases[] = {
        {"memo", {}, true, true},
        {"REPLY WITH HISTORY", {}, true, true},
        {"TaskNotice", {}, true, true},
        {"Memo ", {}, false, false},
        {nullptr,
         {TextItem("Subject", "s"), TextItem("From", "Bo"), TimeItem("PostedDate", "2006-05-17")},
         true,
         true},
        {nullptr,
         {TextItem("SendTo", "A"), TextItem("CopyTo", "B"), TextItem("Subject", "s"),
          TextItem("From", "Bo")},
         true,
         true},
        {nullptr,
         {TextItem("EnterSendTo", "A"), TextItem("ReplyTo", "B"), TextItem("Subject", "s"),
          TextItem("From", "Bo")},
         true,
         true},
        {nullptr,
         {TextItem("SendTo", "A"), TextItem("EnterSendTo", "B"), TextItem("Subject", "s"),
          TextItem("From", "Bo")},
         false,
         false},
        {nullptr, {TimeItem("PostedDate", "2006-05-17"), TextItem("Subject", "s")}, false, false},
        {"Bulletin",
         {TextItem("SendTo", "A"), TextItem("Subject", "s"), TimeItem("PostedDate", "2006-05-17")},
         true,
         true},
        {"Appointment", fullMail, true, false}, // calendar entries are tested first
        {"Task", fullMail, true, false},
    };
    for (const auto& c : cases) {
        const NOTEHANDLE note = db->Open(db->Put(WithForm(c.form, c.items)));
        EXPECT_EQ(IsMailDocument(note), c.mail)
            << (c.form ? c.form : "no form") << " " << c.items.size();
        fakes.calls.clear();
        PassContext context = db->Context();
        ConvertNote(note, &context);
        EXPECT_EQ(SentAsMail(), c.sent) << "converted as mail: " << (c.form ? c.form : "no form");
    }
    EXPECT_FALSE(IsMailDocument(0));
    EXPECT_FALSE(IsCalendarEntry(0));
}

TEST_F(NoteDispatch, TheFirstMatchingKindDecidesAndOnlyItsBitCounts) {
    const struct {
        const char* form;
        DWORD clearedBits;
        bool sentAsMail;
    } cases[] = {
        {"Person", 0, true},                       // mail is tested before contacts
        {"JournalEntry", 0, true},                 // and before journal entries
        {"Appointment", indexTypeCalendar, false}, // never falls through to mail
        {"Task", indexTypeTasks, false},
        {"Memo", indexTypeMail, true}, // mail is always on
    };
    for (const auto& c : cases) {
        IndexTypeMask = initialIndexTypeMask & ~c.clearedBits;
        fakes.calls.clear();
        PassContext context = db->Context();
        ConvertNote(db->Open(db->Put(WithForm(c.form, fullMail))), &context);
        EXPECT_EQ(SentAsMail(), c.sentAsMail) << c.form;
        // A kind switched off takes the deletion road: it may have been sent before.
        EXPECT_EQ(context.noteStatus, c.sentAsMail ? 0 : STORE_ERR_STUB) << c.form;
    }
}

TEST_F(NoteDispatch, TheHistoryPassConvertsNothingAndLeavesTheResultsAlone) {
    PassContext context = db->Context();
    context.historyPass = 1;
    context.engineResult = E_FAIL;
    context.noteStatus = 7;
    EXPECT_FALSE(ConvertNote(db->Open(db->Put(WithForm("Memo", fullMail))), &context));
    EXPECT_TRUE(fakes.calls.empty());
    EXPECT_EQ(context.engineResult, E_FAIL);
    EXPECT_EQ(context.noteStatus, 7);
}

// zsearch verify judges the index by IsIndexedNote: it must say exactly which notes are sent.
TEST_F(NoteDispatch, AnIndexedNoteIsOneItsConverterSends) {
    const std::string start = "2026-05-25 01:00:00.00 +00:00",
                      end = "2026-05-25 02:00:00.00 +00:00";
    const std::vector<store::Item> dated = {TimeItem("CalendarDateTime", start),
                                            TimeItem("StartDateTime", start)};
    const struct {
        const char* what;
        std::vector<store::Item> items;
    } cases[] = {
        {"a meeting", WithForm("Appointment", {dated[0], dated[1], TimeItem("EndDateTime", end)})},
        {"a meeting ending before it starts",
         WithForm("Appointment", {dated[0], dated[1], TimeItem("EndDateTime", "2026-05-24")})},
        {"a meeting without dates", WithForm("Appointment", {TextItem("Subject", "s")})},
        {"a meeting with unreadable dates",
         WithForm("Appointment",
                  {TextItem("CalendarDateTime", "soon"), TextItem("StartDateTime", "soon"),
                   TimeItem("EndDateTime", end)})},
        {"a task", WithForm("Task", {dated[0]})},
        {"a task without dates", WithForm("Task", {TextItem("Subject", "s")})},
        {"a posted mail", WithForm("Memo", fullMail)},
        {"a draft", WithForm("Memo", {TextItem("Subject", "s")})},
        {"a contact", WithForm("Person", {TextItem("FullName", "Bo")})},
    };
    for (const auto& c : cases) {
        const NOTEHANDLE note = db->Open(db->Put(c.items));
        fakes.calls.clear();
        PassContext context = db->Context();
        ConvertNote(note, &context);
        const bool sent =
            !fakes.CallsStartingWith("Send").empty() && context.noteStatus != STORE_ERR_STUB;
        EXPECT_EQ(IsIndexedNote(note), sent) << c.what;
    }
}

TEST_F(NoteDispatch, AConverterThatRunsOutOfMemoryCostsThatNoteAlone) {
    const NOTEID first = db->Put(WithForm("Memo", fullMail)),
                 second = db->Put(WithForm("Memo", fullMail));
    fakes.outOfMemoryIn = "AddProperty subject";
    PassContext context = db->Context();
    context.noteId = first;
    EXPECT_FALSE(ConvertNote(db->Open(first), &context));
    EXPECT_EQ(context.noteStatus, STORE_ERR_NO_MEMORY) << "counted as a note error";
    EXPECT_EQ(context.engineResult, S_OK) << "not an engine failure, which would stop the pass";
    char expected[80];
    std::snprintf(expected, sizeof expected,
                  "TamselODSPlugin: Note %lX could not be converted: out of memory",
                  static_cast<unsigned long>(first));
    ASSERT_FALSE(LogLines().empty()) << "logged without debug logging";
    EXPECT_EQ(LogLines().back().rfind(expected, 0), 0u) << LogLines().back();
    fakes.outOfMemoryIn.clear();
    EXPECT_TRUE(ConvertNote(db->Open(second), &context)) << "the next note is converted";
}

TEST_F(NoteDispatch, SealedItemsAreReadOnlyWhenEncryptedFieldsAreIndexed) {
    const store::Item subject = Sealed(TextItem("Subject", "secret plans"), *db);
    const NOTEID id =
        db->Put({TextItem("Form", "Memo"), TimeItem("PostedDate", "2006-05-17"), subject});
    for (const bool indexEncrypted : {false, true}) {
        UseSettings(indexEncrypted ? "DesktopSearchIndexEncrypted=1\n" : "");
        fakes.calls.clear();
        PassContext context = db->Context();
        EXPECT_TRUE(ConvertNote(db->Open(id), &context));
        EXPECT_EQ(Added("subject"), indexEncrypted ? std::vector<std::string>{"\"secret plans\""}
                                                   : std::vector<std::string>{})
            << indexEncrypted;
    }
}

} // namespace
