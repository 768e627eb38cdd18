#include "file_text.h"
#include "item_values.h"
#include "store_fixture.h"

namespace {

using store::Item;
namespace Type = store::ItemType;

class NoteApi : public StoreApiFixture {
  protected:
    NOTEHANDLE Open(NOTEID id) {
        if (!database)
            OpenMail();
        NOTEHANDLE note = 0;
        EXPECT_EQ(StoreOpenNote(database, id, 0, &note), STORE_NOERROR);
        return note;
    }
};

TEST_F(NoteApi, OpenAnswersForStubsAndMissingNotes) {
    const NOTEID live = PutMemo("live"), gone = PutMemo("gone");
    ASSERT_EQ(writer->deleteNote(gone), store::kOk);
    OpenMail();
    NOTEHANDLE note = 0xBAD;
    EXPECT_EQ(StoreOpenNote(database, gone, 0, &note), STORE_ERR_STUB);
    EXPECT_EQ(note, 0u);
    EXPECT_EQ(StoreOpenNote(database, gone + 400, 0, &note), STORE_ERR_NO_NOTE);

    STOREORIGINATORID stub{}, original{};
    STORETIME modified{};
    WORD noteClass = 0;
    EXPECT_EQ(StoreGetNoteInfoById(database, gone, &stub, &modified, &noteClass), STORE_ERR_STUB);
    EXPECT_EQ(noteClass, STORE_NOTECLASS_DOCUMENT);
    EXPECT_NE(stub.note.low | stub.note.high, 0u) << "a stub keeps its universal id";
    EXPECT_EQ(stub.sequence, 2u);
    ASSERT_EQ(StoreGetNoteInfoById(database, live, &original, nullptr, nullptr), STORE_NOERROR);
    EXPECT_NE(original.note.low, stub.note.low);

    note = Open(live);
    NOTEID id = 0;
    DBHANDLE owner = 0;
    STORETIME noteTime{};
    StoreGetNoteInfo(note, STORE_NOTEINFO_ID, &id);
    StoreGetNoteInfo(note, STORE_NOTEINFO_DATABASE, &owner);
    StoreGetNoteInfo(note, STORE_NOTEINFO_MODIFIED, &noteTime);
    EXPECT_EQ(id, live);
    EXPECT_EQ(owner, database);
    EXPECT_LT(StoreCompareTimes(&noteTime, &modified), 0) << "the stub came later";
    EXPECT_EQ(StoreCloseNote(note), STORE_NOERROR);
}

TEST_F(NoteApi, ReadsEveryItemTypeIntoBoundedBuffers) {
    const NOTEID id = Put({
        {"Subject", Type::Text, false, "Grüße aus Köln"},
        {"SendTo", Type::TextList, false, {"CN=Anna Berg/O=Acme", "bob@example.com"}},
        {"TaskType", Type::Number, false, 2},
        {"PostedDate", Type::Time, false, "2026-12-08 18:00:00.00 +01:00"},
        {"CalendarDateTime", Type::TimeRange, false, {"2026-12-08 09:00", "2026-12-09 09:00"}},
        {"Huge", Type::Text, false, std::string(70000, 'h')},
    });
    const NOTEHANDLE note = Open(id);

    char buffer[32768];
    EXPECT_EQ(StoreReadItemText(note, "subject", buffer, sizeof buffer), 17u) << "ü ß ö: 2 bytes";
    EXPECT_EQ(StoreReadItemText(note, "Subject", buffer, 6), 4u) << "not inside the ß";
    EXPECT_STREQ(buffer, "Grü");
    EXPECT_EQ(StoreReadItemText(note, "Huge", buffer, sizeof buffer), sizeof buffer - 1);
    EXPECT_EQ(StoreReadItemText(note, "Missing", buffer, sizeof buffer), 0u);
    EXPECT_STREQ(buffer, "");

    EXPECT_EQ(StoreTextListCount(note, "SendTo"), 2u);
    EXPECT_EQ(StoreTextListEntry(note, "SendTo", 1, buffer, sizeof buffer), 15u);
    EXPECT_EQ(StoreTextListEntry(note, "SendTo", 2, buffer, sizeof buffer), 0u);
    EXPECT_EQ(StoreItemToText(note, "CalendarDateTime", buffer, sizeof buffer, '|'), 2 * 29u + 1);
    EXPECT_NE(strchr(buffer, '|'), nullptr);

    double number = 1;
    EXPECT_TRUE(StoreReadItemNumber(note, "TaskType", &number));
    EXPECT_EQ(number, 2.0);
    number = 20;
    EXPECT_FALSE(StoreReadItemNumber(note, "Subject", &number)) << "wrong type";
    EXPECT_EQ(number, 20.0) << "the default stays";

    STORETIME posted, mailPosted;
    EXPECT_TRUE(StoreReadItemTime(note, "PostedDate", &posted));
    EXPECT_FALSE(StoreReadItemTime(note, "Subject", &posted));
    ASSERT_EQ(StoreGetMailItemTime(note, STORE_MAIL_POSTEDDATE, &mailPosted), STORE_NOERROR);
    EXPECT_EQ(StoreCompareTimes(&posted, &mailPosted), 0);
    WORD length = 0;
    ASSERT_EQ(StoreGetMailItemText(note, STORE_MAIL_SUBJECT, buffer, sizeof buffer, &length),
              STORE_NOERROR);
    EXPECT_EQ(length, 17u);

    WORD type = 0, count = 0;
    DWORD valueLength = 0;
    ASSERT_EQ(StoreGetItemInfo(note, "SendToIgnored", 6, &type, &valueLength, &count, nullptr),
              STORE_NOERROR)
        << "the name is taken at its given length";
    EXPECT_EQ(type, STORE_TYPE_TEXT_LIST);
    EXPECT_EQ(count, 2u);
    EXPECT_NE(StoreGetItemInfo(note, "Body", 4, nullptr, nullptr, nullptr, nullptr), STORE_NOERROR);
    StoreCloseNote(note);
}

TEST_F(NoteApi, SealedItemsReadOnlyAfterDecryption) {
    const NOTEID id =
        Put({{"Subject", Type::Text, false, "Salaries"},
             {"Body", Type::RichText, true,
              store::SealValue(store::RichTextFromPlain("Secret"), writer->info().replicaId)}});
    const NOTEHANDLE note = Open(id);
    BOOL isSigned = TRUE, isSealed = FALSE;
    EXPECT_TRUE(StoreIsSignedOrSealed(note, &isSigned, &isSealed));
    EXPECT_FALSE(isSigned);
    char buffer[64];
    EXPECT_EQ(StoreReadItemText(note, "Body", buffer, sizeof buffer), 0u);
    ASSERT_EQ(StoreDecryptNote(note, 0, nullptr), STORE_NOERROR);
    EXPECT_EQ(StoreReadItemText(note, "Body", buffer, sizeof buffer), 8u);
    EXPECT_STREQ(buffer, "Secret\r\n");
    EXPECT_FALSE(StoreIsSignedOrSealed(note, nullptr, nullptr));
    StoreCloseNote(note);
}

TEST_F(NoteApi, RendersBodiesToFilesAsAsked) {
    const NOTEID id = PutMemo("body", "\n\n  first line of text\n\ttabbed");
    const NOTEHANDLE note = Open(id);
    const std::string file = dir.file("td_tmpbody.txt");
    DWORD size = 0;
    ASSERT_EQ(StoreMessageBodyToFile(note, nullptr, "\r\n", 0xFFFF, TRUE, file.c_str(), &size),
              STORE_NOERROR);
    EXPECT_EQ(testing_support::ReadFileText(file),
              "\r\n\r\n  first line of text\r\n        tabbed\r\n");
    EXPECT_EQ(size, testing_support::ReadFileText(file).size());
    ASSERT_EQ(StoreMessageBodyToFile(note, "Body", "\n", 10, FALSE, file.c_str(), nullptr),
              STORE_NOERROR);
    EXPECT_EQ(testing_support::ReadFileText(file), "\n\n  first\nline of\ntext\n\ttabbed\n");
    EXPECT_EQ(StoreMessageBodyToFile(note, "NoSuchItem", "\n", 80, FALSE, file.c_str(), nullptr),
              STORE_ERR_NO_NOTE);
    EXPECT_EQ(StoreMessageBodyToFile(note, "Body", "\n", 80, FALSE, dir.file("no\\dir.txt").c_str(),
                                     nullptr),
              STORE_ERR_WRITE);
    StoreCloseNote(note);
}

STORESTATUS WINAPI CountItems(void* context, NOTEHANDLE, const char* name, WORD nameLength, WORD,
                              DWORD) {
    auto* names = static_cast<std::vector<std::string>*>(context);
    names->emplace_back(name, nameLength);
    return names->size() == 2 ? 42 : STORE_NOERROR;
}

TEST_F(NoteApi, ScanStopsAtTheCallbacksStatus) {
    const NOTEHANDLE note = Open(PutMemo("scan"));
    std::vector<std::string> names;
    EXPECT_EQ(StoreScanItems(note, CountItems, &names), 42);
    EXPECT_EQ(names, (std::vector<std::string>{"Form", "Subject"}));
    StoreCloseNote(note);
}

TEST_F(NoteApi, TextHelpersStepAndShowNames) {
    const char* text = "a\xC3\xA4\xE6\x97\xA5";
    EXPECT_EQ(StoreNextCharacter(text), text + 1);
    EXPECT_EQ(StoreNextCharacter(text + 1), text + 3);
    EXPECT_EQ(StorePreviousCharacter(text, text + 6), text + 3);
    EXPECT_EQ(StorePreviousCharacter(text, text), text);
    char shown[12];
    EXPECT_EQ(StoreTextToLocal("CN=Anna Berg/OU=Sales/O=Acme", shown, 64 > 12 ? 12 : 64), 11u);
    EXPECT_STREQ(shown, "Anna Berg/S");
    EXPECT_EQ(StoreTextToLocal("bob@example.com", shown, sizeof shown), 11u);
    char number[8];
    WORD length = 0;
    const double value = 0.1;
    ASSERT_EQ(StoreNumberToText(&value, number, sizeof number, &length), STORE_NOERROR);
    EXPECT_STREQ(number, "0.1");
}

} // namespace
