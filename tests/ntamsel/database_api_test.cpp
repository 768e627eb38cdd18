#include "file_text.h"
#include "store_fixture.h"

#include <vector>

namespace {

using DatabaseApi = StoreApiFixture;

TEST_F(DatabaseApi, OpeningAnswersWhyADatabaseCannotBeOpened) {
    testing_support::WriteFileText(dir.file("notes.txt"), "just some text\n");
    testing_support::WriteFileText(dir.file("other.json"), "{\"name\":\"not a database\"}\n");
    const struct {
        const char* path;
        STORESTATUS expected;
    } cases[] = {
        {"", STORE_ERR_NOT_DATABASE},
        {"missing.zrb", STORE_ERR_NO_FILE},
        {"nowhere\\missing.zrb", STORE_ERR_NO_FILE},
        {".", STORE_ERR_NOT_DATABASE}, // the data directory itself
        {"notes.txt", STORE_ERR_NOT_DATABASE_FILE},
        {"other.json", STORE_ERR_NOT_DATABASE},
        {"Mailserver/Acme!!mail\\anna.zrb", STORE_ERR_REMOTE_REFUSED},
        {"mail.zrb", STORE_NOERROR},
    };
    for (const auto& c : cases) {
        DBHANDLE handle = 0xDEAD;
        EXPECT_EQ(StoreOpenDatabase(c.path, &handle), c.expected) << c.path;
        EXPECT_EQ(handle != 0, c.expected == STORE_NOERROR) << c.path;
        if (handle) {
            EXPECT_EQ(StoreCloseDatabase(handle), STORE_NOERROR);
        }
    }
    DBHANDLE handle;
    EXPECT_EQ(StoreOpenDatabase(path.c_str(), &handle), STORE_NOERROR) << "absolute path";
    EXPECT_EQ(StoreCloseDatabase(handle), STORE_NOERROR);
    EXPECT_EQ(StoreCloseDatabase(handle), STORE_ERR_BAD_ARGUMENT) << "closed twice";
}

TEST_F(DatabaseApi, SplitsServerPaths) {
    const struct {
        const char* path;
        const char* server;
        const char* file;
    } cases[] = {{"mail.zrb", "", "mail.zrb"},
                 {"Hub/Acme!!mail\\anna.zrb", "Hub/Acme", "mail\\anna.zrb"},
                 {"!!x", "", "x"}};
    for (const auto& c : cases) {
        char server[STORE_PATH_SIZE], file[STORE_PATH_SIZE];
        ASSERT_EQ(StoreParseNetPath(c.path, server, file), STORE_NOERROR);
        EXPECT_STREQ(server, c.server);
        EXPECT_STREQ(file, c.file);
    }
    const std::string longPath(600, 'a');
    char file[STORE_PATH_SIZE];
    ASSERT_EQ(StoreParseNetPath(longPath.c_str(), nullptr, file), STORE_NOERROR);
    EXPECT_EQ(strlen(file), STORE_PATH_SIZE - 1u) << "bounded";
}

TEST_F(DatabaseApi, ReportsFlagsTitleAndReplica) {
    ASSERT_EQ(writer->setHeader(std::nullopt, 0u), store::kOk);
    OpenMail();
    DWORD flags = 1;
    ASSERT_EQ(StoreGetDatabaseFlags(database, &flags), STORE_NOERROR);
    EXPECT_EQ(flags & STORE_DBFLAG_USABLE, 0u) << "the caller then treats it as unusable";
    char info[STORE_DBINFO_SIZE], title[64];
    ASSERT_EQ(StoreGetDatabaseInfo(database, info), STORE_NOERROR);
    ASSERT_EQ(StoreParseDatabaseInfo(info, STORE_DBINFO_TITLE, title, sizeof title), STORE_NOERROR);
    EXPECT_STREQ(title, "Anna's Mail");

    STOREREPLICAINFO replica;
    ASSERT_EQ(StoreGetReplicaInfo(database, &replica), STORE_NOERROR);
    char url[256];
    const NOTEID id = PutMemo("x");
    NOTEHANDLE note;
    ASSERT_EQ(StoreOpenNote(database, id, 0, &note), STORE_NOERROR);
    STOREORIGINATORID oid;
    StoreGetNoteInfo(note, STORE_NOTEINFO_ORIGINATOR, &oid);
    const WORD length = StoreFormatText(url, sizeof url, "Tamsel:///%H//%H%H", &replica.replicaId,
                                        &oid.file, &oid.note);
    EXPECT_EQ(length, 10u + 16 + 2 + 32) << url;
    EXPECT_EQ(std::string(url).substr(10, 16), store::HexId(writer->info().replicaId));
    EXPECT_EQ(std::string(url).substr(28, 16), store::HexId(writer->info().replicaId))
        << "the file half of a universal id is the replica's";
    StoreCloseNote(note);
}

struct Walk {
    std::vector<NOTEID> seen;
    NOTEID stopAt = 0;
};

STORESTATUS WINAPI Collect(void* context, NOTEID id) {
    auto* walk = static_cast<Walk*>(context);
    walk->seen.push_back(id);
    return id == walk->stopAt ? 719 : STORE_NOERROR;
}

TEST_F(DatabaseApi, ChangeTablesFollowWritersPassByPass) {
    const NOTEID a = PutMemo("a"), b = PutMemo("b"), c = PutMemo("c");
    ASSERT_EQ(writer->deleteNote(b), store::kOk);
    OpenMail();
    STORETIME since, until;
    StoreSetTimeConstant(STORE_TIME_EARLIEST, &since);
    IDTABLEHANDLE table = 0;
    ASSERT_EQ(StoreGetModifiedNoteTable(database, STORE_NOTECLASS_DOCUMENT, since, &until, &table),
              STORE_NOERROR);
    EXPECT_EQ(StoreIdTableCount(table), 3u);
    EXPECT_TRUE(StoreIdTableContains(table, b | STORE_NOTEID_DELETED));
    EXPECT_FALSE(StoreIdTableContains(table, b));
    Walk walk;
    EXPECT_EQ(StoreIdTableEnumerate(table, Collect, &walk), STORE_NOERROR);
    EXPECT_EQ(walk.seen, (std::vector<NOTEID>{a, c, b | STORE_NOTEID_DELETED}))
        << "stubs come last";
    walk = {{}, a};
    EXPECT_EQ(StoreIdTableEnumerate(table, Collect, &walk), 719) << "the callback's status";
    EXPECT_EQ(walk.seen.size(), 1u);
    EXPECT_EQ(StoreIdTableFree(table), STORE_NOERROR);

    since = until;
    EXPECT_EQ(StoreGetModifiedNoteTable(database, STORE_NOTECLASS_DOCUMENT, since, &until, &table),
              STORE_ERR_NOT_MODIFIED);
    EXPECT_EQ(StoreCompareTimes(&since, &until), 0);

    const NOTEID d = PutMemo("appended by another writer");
    ASSERT_EQ(StoreGetModifiedNoteTable(database, STORE_NOTECLASS_DOCUMENT, since, &until, &table),
              STORE_NOERROR);
    walk = {};
    StoreIdTableEnumerate(table, Collect, &walk);
    EXPECT_EQ(walk.seen, std::vector<NOTEID>{d});
    EXPECT_GT(StoreCompareTimes(&until, &since), 0);
    StoreIdTableFree(table);
}

TEST_F(DatabaseApi, UnreadTableBelongsToOneUser) {
    const NOTEID a = PutMemo("a"), b = PutMemo("b");
    ASSERT_EQ(writer->markUnread("Anna Berg", {b}, true), store::kOk);
    ASSERT_EQ(StoreSetEnvString("UserName", "Anna Berg"), STORE_NOERROR);
    OpenMail();
    char user[256];
    ASSERT_EQ(StoreGetUserName(STORE_USERNAME_CURRENT, user, sizeof user), STORE_NOERROR);
    EXPECT_STREQ(user, "Anna Berg");
    IDTABLEHANDLE unread;
    ASSERT_EQ(StoreGetUnreadTable(database, user, static_cast<WORD>(strlen(user)), &unread),
              STORE_NOERROR);
    EXPECT_TRUE(StoreIdTableContains(unread, b));
    EXPECT_FALSE(StoreIdTableContains(unread, a));
    StoreIdTableFree(unread);
}

TEST_F(DatabaseApi, DamagedRecordsSpoilOnlyTheirNotes) {
    const NOTEID a = PutMemo("a"), b = PutMemo("b"), c = PutMemo("c");
    writer.reset();
    std::string text = testing_support::ReadFileText(path);
    const size_t second = text.find("{\"note\":" + std::to_string(b));
    text.replace(text.find("\"items\"", second), 7, "\"items\"!!");
    testing_support::WriteFileText(path, text + "{\"note\":" + std::to_string(c + 4) + ",\"cla");
    OpenMail();
    const struct {
        NOTEID id;
        STORESTATUS expected;
    } cases[] = {
        {a, STORE_NOERROR}, {b, STORE_ERR_DAMAGED}, {c, STORE_NOERROR}, {c + 4, STORE_ERR_NO_NOTE}};
    for (const auto& k : cases) {
        NOTEHANDLE note = 0;
        EXPECT_EQ(StoreOpenNote(database, k.id, 0, &note), k.expected) << k.id;
        if (note)
            StoreCloseNote(note);
    }
    STORETIME since, until;
    StoreSetTimeConstant(STORE_TIME_EARLIEST, &since);
    IDTABLEHANDLE table = 0;
    ASSERT_EQ(StoreGetModifiedNoteTable(database, STORE_NOTECLASS_ALL, since, &until, &table),
              STORE_NOERROR);
    EXPECT_EQ(StoreIdTableCount(table), 3u) << "the torn last record is not there yet";
    StoreIdTableFree(table);
}

TEST_F(DatabaseApi, DeletedFileStaysReadableWhileOpen) {
    const NOTEID id = PutMemo("kept", std::string(40000, 'k'));
    OpenMail();
    writer.reset();
    ASSERT_TRUE(DeleteFileA(path.c_str()));
    NOTEHANDLE note;
    ASSERT_EQ(StoreOpenNote(database, id, 0, &note), STORE_NOERROR);
    char subject[16];
    EXPECT_EQ(StoreReadItemText(note, "Subject", subject, sizeof subject), 4u);
    StoreCloseNote(note);
}

} // namespace
