#include "conversion_fixtures.h"
#include "convert/convert_note.h"
#include "convert/converters.h"
#include "idl/engine_results.h"
#include "settings/index_type_mask.h"
#include "store_owners.h"

using namespace tamsel;

namespace {

using MailConversion = RealEngineConversion;

std::string Text(const nlohmann::json& properties, const char* name) {
    return properties.contains(name) ? properties[name].dump() : "<none>";
}

std::string LastLogLine(const std::vector<std::string>& lines) {
    return lines.empty() ? "<no log>" : lines.back();
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Anna's unread notes into the owner, lent to the context for as long as the owner holds them.
STORESTATUS LendUnreadTable(PassContext& context, UniqueIdTable& table) {
    const STORESTATUS status = StoreGetUnreadTable(context.database, "Anna", 4, table.put());
    context.unreadTable = table.get();
    return status;
}

TEST_F(MailConversion, AMemoIsSentWithItsAddressesFolderBodyAndPostedTime) {
    const NOTEID id = db->Put({
        TextItem("Form", "Memo"),
        TextItem("Principal", "CN=Dora Ek/O=Acme"),
        TextItem("From", "CN=Carl Ny/O=Acme"),
        ListItem("SendTo", {"CN=Anna Berg/OU=Sales/O=Acme", "bo@example.com"}),
        ListItem("CopyTo", {"Cecilia"}),
        ListItem("BlindCopyTo", {"Dag"}),
        ListItem("ReplyTo", {"Lists"}),
        TextItem("Subject", "Harbour festival"),
        TimeItem("PostedDate", "2006-05-17 09:30:00.00 +08:00"),
        BodyItem("Body", {"Bring the lanterns"}),
        {"$FILE", store::ItemType::Attachment, false, {{"file", "map.pdf"}, {"size", 10}}},
    });
    db->MarkUnread(id, "Anna");
    const NOTEHANDLE note = db->Open(id);
    PassContext context = db->Context();
    context.noteId = id;
    UniqueIdTable unread;
    ASSERT_EQ(LendUnreadTable(context, unread), STORE_NOERROR);
    EXPECT_TRUE(ConvertNote(note, &context));
    EXPECT_EQ(context.engineResult, S_OK);
    EXPECT_EQ(context.noteStatus, 0);

    const auto stored = Stored(note);
    ASSERT_FALSE(stored.is_null());
    EXPECT_EQ(Text(stored, "time"), "1147829400") << "the posted time, 01:30 UTC";
    EXPECT_EQ(Text(stored, "from"), "\"Dora Ek/Acme\"");
    EXPECT_EQ(Text(stored, "to"), "\"Anna Berg/Sales/Acme, bo@example.com\"");
    EXPECT_EQ(Text(stored, "subject"), "\"Harbour festival\"");
    EXPECT_EQ(Text(stored, "cc"), "\"Cecilia\"");
    EXPECT_EQ(Text(stored, "bcc"), "\"Dag\"");
    EXPECT_EQ(Text(stored, "replyto"), "\"Lists\"");
    EXPECT_EQ(Text(stored, "folder_name"), "\"Anna's Mail\"");
    EXPECT_EQ(Text(stored, "content_format"), "\"text/plain\"");
    const std::string content = stored.value("content", "");
    EXPECT_TRUE(Contains(content, "content: Bring the lanterns\r\n\r\n")) << content;
    EXPECT_TRUE(Contains(content, "mail_flags: 3\r\n")) << "unread, with attachments: " << content;
    EXPECT_TRUE(Contains(content, "other_data: " + Url(note) + "\r\n")) << content;
}

TEST_F(MailConversion, DraftsAreIndexedOnlyWhenAskedAndNeverCountAsUnread) {
    const NOTEID id = db->Put({TextItem("Form", "Memo"), TextItem("Subject", "Unfinished")});
    db->MarkUnread(id, "Anna");
    for (const bool indexDrafts : {false, true}) {
        UseSettings(indexDrafts ? "DesktopSearchIndexDrafts=1\n" : "");
        const NOTEHANDLE note = db->Open(id);
        PassContext context = db->Context();
        context.noteId = id;
        UniqueIdTable unread;
        LendUnreadTable(context, unread);
        EXPECT_TRUE(ConvertNote(note, &context)) << indexDrafts;
        const auto stored = Stored(note);
        if (!indexDrafts) {
            // It may have been sent while drafts were indexed: it takes the deletion road.
            EXPECT_EQ(context.noteStatus, STORE_ERR_STUB);
            EXPECT_EQ(stored.value("subject", "<none>"), "") << "an emptied event";
            continue;
        }
        EXPECT_EQ(context.noteStatus, 0);
        ASSERT_FALSE(stored.is_null());
        EXPECT_EQ(Text(stored, "folder_name"), "\"Drafts\"");
        EXPECT_TRUE(Contains(stored.value("content", ""), "mail_flags: 0\r\n"));
    }
}

TEST_F(MailConversion, TheUnreadBitNeedsALaterPassAndTheUnreadTable) {
    const NOTEID id = db->Put({TextItem("Form", "Memo"), TextItem("Subject", "Unread"),
                               TimeItem("PostedDate", "2006-05-17")});
    db->MarkUnread(id, "Anna");
    const struct {
        bool initialPass, withTable;
        const char* flags;
    } cases[] = {{false, true, "mail_flags: 1"},
                 {true, true, "mail_flags: 0"},
                 {false, false, "mail_flags: 0"}};
    for (const auto& c : cases) {
        const NOTEHANDLE note = db->Open(id);
        PassContext context = db->Context();
        context.noteId = id;
        context.initialPass = c.initialPass;
        UniqueIdTable unread;
        if (c.withTable)
            LendUnreadTable(context, unread);
        EXPECT_TRUE(ConvertNote(note, &context));
        EXPECT_TRUE(Contains(Stored(note).value("content", ""), c.flags)) << c.flags;
    }
}

TEST_F(MailConversion, MailItemsOfUnexpectedTypesStillConvert) {
    const NOTEID id = db->Put({
        TextItem("Form", "Reply"),
        TextItem("PostedDate", "yesterday"), // not a time: the last change counts
        NumberItem("SendTo", 12),
        TimeItem("Subject", "2006-05-17"),
        NumberItem("$IMTranscript", 1),
        BodyItem("DetailedReport", {"report"}),
    });
    const NOTEHANDLE note = db->Open(id);
    PassContext context = db->Context();
    STORETIME modified{};
    StoreGetNoteInfo(note, STORE_NOTEINFO_MODIFIED, &modified);
    EXPECT_TRUE(ConvertNote(note, &context));
    const auto stored = Stored(note);
    ASSERT_FALSE(stored.is_null());
    EXPECT_EQ(Text(stored, "to"), "\"12\"");
    EXPECT_EQ(Text(stored, "subject"), "\"2006-05-17\"");
    EXPECT_NE(Text(stored, "time"), "0");
    EXPECT_TRUE(Contains(stored.value("content", ""), "content: report\r\n"))
        << "the data fields list stands in for a missing body";
}

TEST_F(MailConversion, AChatTranscriptThatIsNotIndexedLeavesTheIndex) {
    UseSettings("DesktopSearchNoIndexChats=1\n");
    const NOTEID id = db->Put(
        {TextItem("Form", "Memo"), TextItem("Subject", "Chat"), TextItem("$IMTranscript", "1")});
    const NOTEHANDLE note = db->Open(id);
    const std::string url = Url(note);
    UseSettings("");
    PassContext context = db->Context();
    ASSERT_TRUE(ConvertNote(note, &context));
    ASSERT_EQ(Text(StoredAt(url), "subject"), "\"Chat\"");

    UseSettings("DesktopSearchNoIndexChats=1\n");
    context = db->Context();
    EXPECT_TRUE(ConvertNote(db->Open(id), &context)) << "the empty event was sent";
    EXPECT_EQ(context.noteStatus, STORE_ERR_STUB);
    EXPECT_EQ(context.engineResult, S_OK);
    const auto stored = StoredAt(url);
    EXPECT_EQ(Text(stored, "subject"), "\"\"") << "overwritten by an empty mail event";
    EXPECT_EQ(Text(stored, "time"), "-2147483648") << "date 0.0, before the earliest second";
}

TEST_F(MailConversion, ABodyThatCannotBeRenderedLeavesTheContentEmpty) {
    const store::Item sealed = Sealed(BodyItem("Body", {"secret"}), *db);
    const NOTEID id = db->Put({TextItem("Form", "Memo"), TextItem("Subject", "Sealed"),
                               TimeItem("PostedDate", "2006-05-17"), sealed});
    const NOTEHANDLE note = db->Open(id);
    PassContext context = db->Context();
    EXPECT_TRUE(ConvertNote(note, &context));
    const std::string content = Stored(note).value("content", "");
    EXPECT_TRUE(Contains(content, "content: \r\n")) << content;
    EXPECT_FALSE(Contains(content, "secret"));

    UseSettings("DesktopSearchIndexEncrypted=1\n");
    const NOTEHANDLE decrypted = db->Open(id);
    EXPECT_TRUE(ConvertNote(decrypted, &context));
    EXPECT_TRUE(Contains(Stored(decrypted).value("content", ""), "content: secret\r\n"));
}

TEST_F(MailConversion, APropertyTheEngineRefusesEndsTheConversion) {
    const NOTEID id = db->Put({TextItem("Form", "Memo"), TextItem("Subject", "Refused"),
                               TimeItem("PostedDate", "2006-05-17"),
                               ListItem("CopyTo", {"Cecilia"}), ListItem("BlindCopyTo", {"Dag"})});
    UseSettings("DesktopSearchDebug=1\n");
    SetSwitchText(L"FailProperty", L"cc");
    SetSwitch(L"FailPropertyCode", DWORD(engine_results::E_PROPERTY_TOO_LARGE));
    const NOTEHANDLE note = db->Open(id);
    PassContext context = db->Context();
    EXPECT_FALSE(ConvertNote(note, &context));
    EXPECT_EQ(context.engineResult, engine_results::E_PROPERTY_TOO_LARGE);
    EXPECT_EQ(context.noteStatus, 0);
    EXPECT_TRUE(Stored(note).is_null());
    EXPECT_EQ(LastLogLine(LogLines()), "TamselODSPlugin: AddProperty (cc): 8004000E");

    SetSwitch(L"FailPropertyCode", DWORD(engine_results::E_NO_SUCH_PROPERTY));
    EXPECT_TRUE(ConvertNote(note, &context)) << "a property the engine lacks is left out";
    const auto stored = Stored(note);
    EXPECT_EQ(Text(stored, "cc"), "<none>");
    EXPECT_EQ(Text(stored, "bcc"), "\"Dag\"");
}

TEST_F(MailConversion, AFailedSendIsReportedWithTheEnginesAnswer) {
    const NOTEID id = db->Put({TextItem("Form", "Memo"), TextItem("Subject", "Paused"),
                               TimeItem("PostedDate", "2006-05-17")});
    SetSwitch(L"IndexingPaused", 1);
    PassContext context = db->Context();
    EXPECT_FALSE(ConvertNote(db->Open(id), &context));
    EXPECT_EQ(context.engineResult, engine_results::S_INDEXING_PAUSED);
}

TEST_F(MailConversion, NoNoteIsStatus551) {
    UseSettings("DesktopSearchDebug=1\n");
    PassContext context = db->Context();
    context.engineResult = E_FAIL;
    EXPECT_FALSE(ConvertMail(0, &context));
    EXPECT_EQ(context.noteStatus, STORE_ERR_NO_NOTE);
    EXPECT_EQ(context.engineResult, S_OK);
    EXPECT_EQ(LastLogLine(LogLines()), "TamselODSPlugin: Mail File NULL");
}

} // namespace
