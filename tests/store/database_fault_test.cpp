#include "database_fixture.h"
#include "item_values.h"

#include <cstdio>

using namespace store;
using store_testing::DatabaseFixture;
using store_testing::Listed;
using store_testing::Memo;

namespace {

const char* kHeader = "{\"replica\":\"00112233445566AA\",\"title\":\"T\",\"flags\":1}\n";

// A note record as another writer could have put it, with a chosen ID and time.
std::string Record(uint32_t id, const char* modified, const std::string& subject = "s") {
    Note note = Memo(subject);
    note.id = id;
    note.modified = *TextToTime(modified);
    note.originator = {1, id, 1, note.modified};
    return NoteToRecord(note) + "\n";
}

using DatabaseFaults = DatabaseFixture;

TEST_F(DatabaseFaults, FilesThatAreNoDatabaseAreRefused) {
    const struct {
        std::string content;
        Status expected;
    } cases[] = {
        {"", kNotDatabaseFile},
        {"hello world\n", kNotDatabaseFile},
        {std::string("PK\x03\x04\x00\x01\xff\xfe\n", 9), kNotDatabaseFile},
        {"[1, 2]\n", kNotDatabaseFile},
        {"{\"replica\":\"00112233", kNotDatabaseFile}, // a header still being written
        {"{\"title\":\"no replica\"}\n", kNotDatabase},
        {"{\"replica\":\"not hex at all!\"}\n", kNotDatabase},
    };
    for (const auto& c : cases) {
        Write(c.content);
        std::unique_ptr<Database> database;
        EXPECT_EQ(Database::Open(OpenJournalFile(path, OpenMode::ReadOnly), database), c.expected)
            << c.content;
        EXPECT_FALSE(database);
    }
    std::unique_ptr<Database> database;
    EXPECT_EQ(
        Database::Open(OpenJournalFile(dir.path() + "/missing.zrb", OpenMode::ReadOnly), database),
        kNotDatabase);
    EXPECT_EQ(Database::Open(OpenJournalFile("", OpenMode::ReadOnly), database), kNotDatabase);
}

TEST_F(DatabaseFaults, TornLastRecordWaitsForItsLineEnd) {
    const std::string second = Record(8, "2026-01-02 10:00");
    Write(kHeader + Record(4, "2026-01-01 10:00") + second.substr(0, second.size() / 2));
    auto database = Open();
    ASSERT_TRUE(database);
    EXPECT_EQ(database->entries().size(), 1u);
    EXPECT_TRUE(database->problems().empty());

    Write(kHeader + Record(4, "2026-01-01 10:00") + second);
    IdList ids;
    TimeValue until;
    ASSERT_EQ(database->modifiedSince(kEarliestTime, NoteClass::Document, ids, until), kOk);
    EXPECT_EQ(Listed(ids), (std::vector<uint32_t>{4, 8})) << "the completed record is read";
}

TEST_F(DatabaseFaults, CorruptRecordInTheMiddleSpoilsOnlyItsNote) {
    std::string broken = Record(8, "2026-01-02 10:00");
    broken.replace(broken.find("\"items\""), 7, "\"items\" oops [");
    Write(kHeader + Record(4, "2026-01-01 10:00", "first") + broken + "complete garbage\n" +
          Record(12, "2026-01-03 10:00", "third"));
    auto database = Open();
    ASSERT_TRUE(database);
    Note note;
    std::string error;
    EXPECT_EQ(database->readNote(8, note, &error), kDamaged);
    EXPECT_NE(error.find("note 8"), std::string::npos) << error;
    ASSERT_EQ(database->readNote(4, note), kOk);
    EXPECT_EQ(ItemToText(*note.find("Subject"), ""), "first");
    ASSERT_EQ(database->readNote(12, note), kOk);
    EXPECT_EQ(ItemToText(*note.find("Subject"), ""), "third");
    ASSERT_EQ(database->problems().size(), 1u);
    EXPECT_NE(database->problems()[0].find("record 4"), std::string::npos)
        << database->problems()[0];
}

// Bytes overwritten in a journal: whatever record they hit, its note is in the change list and
// answers kDamaged, so a caller counts it rather than missing it; the notes around stay whole.
TEST_F(DatabaseFaults, AnOverwrittenRecordIsListedAndAnswersDamaged) {
    std::vector<std::string> records;
    for (uint32_t id : {4, 8, 12, 16, 20})
        records.push_back(Record(id, ("2026-01-0" + std::to_string(id / 4) + " 10:00").c_str(),
                                 std::string(400, char('a' + id / 4))));
    const std::string update = Record(8, "2026-01-06 10:00", std::string(400, 'u'));
    std::string journal = kHeader;
    for (const auto& record : records)
        journal += record;
    const size_t twelve = journal.find("{\"note\":12,");
    const size_t sixteen = journal.find("{\"note\":16,");
    const size_t update8 = (journal + update).rfind("{\"note\":8,");
    journal += update;
    const struct {
        const char* what;
        size_t at;
        uint32_t damaged;
        std::vector<uint32_t> listed;
    } cases[] = {
        {"the record's start", twelve, 12, {4, 8, 12, 16, 20}},
        {"its note ID left", twelve + 10, 12, {4, 8, 12, 16, 20}},
        {"its items", journal.find("\"items\"", twelve), 12, {4, 8, 12, 16, 20}},
        {"the line end before it", sixteen - 50, 12, {4, 8, 12, 20}}, // 16 is lost with it
        {"a later version, its ID left", update8 + 10, 8, {4, 8, 12, 16, 20}},
    };
    for (const auto& c : cases) {
        std::string damaged = journal;
        damaged.replace(c.at, 100, std::string(100, 'X'));
        Write(damaged);
        auto database = Open();
        IdList ids;
        TimeValue until;
        ASSERT_EQ(database->modifiedSince(kEarliestTime, NoteClass::Document, ids, until), kOk);
        EXPECT_EQ(Listed(ids), c.listed) << c.what;
        for (uint32_t id : ids) {
            Note note;
            EXPECT_EQ(database->readNote(id, note), id == c.damaged ? kDamaged : kOk)
                << c.what << ": note " << id;
        }
    }
    // The damaged later version is listed since the last readable change before it.
    std::string damaged = journal;
    damaged.replace(update8 + 10, 100, std::string(100, 'X'));
    Write(damaged);
    IdList ids;
    TimeValue until;
    ASSERT_EQ(
        Open()->modifiedSince(*TextToTime("2026-01-05 10:00"), NoteClass::Document, ids, until),
        kOk);
    EXPECT_EQ(Listed(ids), std::vector<uint32_t>{8});
}

TEST_F(DatabaseFaults, DecreasingIdsAndTimesAreSkipped) {
    Write(kHeader + Record(8, "2026-01-02 10:00", "eight") + Record(4, "2026-01-03 10:00", "four") +
          Record(12, "2026-01-01 10:00", "time goes back") +
          Record(8, "2026-01-02 10:00", "same time again") + Record(16, "2026-01-04 10:00"));
    auto database = Open();
    std::vector<uint32_t> ids;
    for (const auto& e : database->entries())
        ids.push_back(e.id);
    EXPECT_EQ(ids, (std::vector<uint32_t>{8, 16}));
    EXPECT_EQ(database->problems().size(), 3u);
    Note note;
    ASSERT_EQ(database->readNote(8, note), kOk);
    EXPECT_EQ(ItemToText(*note.find("Subject"), ""), "eight");
}

TEST_F(DatabaseFaults, FieldsOfAnotherJsonTypeAreIgnoredNotTrusted) {
    std::string stub = Record(8, "2026-01-02 10:00");
    stub.insert(stub.find(",\"oid\""), ",\"deleted\":\"yes\"");
    Write("{\"replica\":\"00112233445566AA\",\"title\":7,\"flags\":\"x\"}\n" +
          Record(4, "2026-01-01 10:00") + stub + "{\"unread\":5,\"add\":[4]}\n" +
          "{\"database\":7,\"unread\":\"Anna\",\"add\":[\"4\",8]}\n");
    auto database = Open();
    EXPECT_EQ(database->info().title, "");
    EXPECT_EQ(database->info().flags, kUsableFlag);
    EXPECT_EQ(database->unreadNotes("Anna"), std::vector<uint32_t>{8});
    Note note;
    EXPECT_EQ(database->readNote(8, note), kOk) << "\"yes\" is no deletion";
}

TEST_F(DatabaseFaults, WrongItemTypeInTheFileMakesTheNoteUnreadable) {
    std::string record = Record(4, "2026-01-01 10:00");
    record.replace(record.find("\"type\":1280"), 11, "\"type\":768");
    Write(kHeader + record);
    Note note;
    std::string error;
    EXPECT_EQ(Open()->readNote(4, note, &error), kDamaged);
    EXPECT_NE(error.find("Form"), std::string::npos) << error;
}

TEST_F(DatabaseFaults, DamagedBodyReadsEmptyWhileTheRestStaysReadable) {
    std::string record = Record(4, "2026-01-01 10:00", "kept");
    const size_t body = record.find("\"type\":1,\"value\":[[\"") + 19;
    record.insert(body, "5,");
    Write(kHeader + record);
    Note note;
    ASSERT_EQ(Open()->readNote(4, note), kOk);
    EXPECT_EQ(ItemToText(*note.find("Subject"), ""), "kept");
    EXPECT_EQ(ItemToText(*note.find("Body"), ""), "");
}

TEST_F(DatabaseFaults, InvalidUtf8IsReplaced) {
    std::string record = Record(4, "2026-01-01 10:00", "abcdef");
    record.replace(record.find("abcdef"), 6,
                   "ab\xC3\x28\xFF"
                   "ef");
    Write(kHeader + record);
    Note note;
    ASSERT_EQ(Open()->readNote(4, note), kOk);
    EXPECT_EQ(ItemToText(*note.find("Subject"), ""), "ab\xEF\xBF\xBD(\xEF\xBF\xBD"
                                                     "ef");
}

TEST_F(DatabaseFaults, AnotherWritersChangeIsSeenAtTheNextChangeList) {
    auto reader = Create();
    const uint32_t first = Put(*reader, Memo("mine"));
    IdList ids;
    TimeValue until;
    ASSERT_EQ(reader->modifiedSince(kEarliestTime, NoteClass::Document, ids, until), kOk);

    auto writer = Open();
    const uint32_t second = Put(*writer, Memo("theirs"));
    EXPECT_GT(second, first);
    EXPECT_FALSE(reader->entry(second)) << "not yet looked";
    ASSERT_EQ(reader->modifiedSince(until, NoteClass::Document, ids, until), kOk);
    EXPECT_EQ(Listed(ids), std::vector<uint32_t>{second});

    const uint32_t third = Put(*reader, Memo("mine again"));
    EXPECT_GT(third, second) << "IDs keep ascending across writers";
}

TEST_F(DatabaseFaults, DatabaseReplacedOrDeletedWhileOpen) {
    auto database = Create();
    const uint32_t id = Put(*database, Memo("still here", std::string(5000, 'b')));
    ASSERT_EQ(std::remove(path.c_str()), 0);
    Note note;
    EXPECT_EQ(database->readNote(id, note), kOk) << "the open file stays readable";

    path = dir.path() + "/other.zrb";
    auto other = Create();
    Put(*other, Memo("x"));
    auto replaced = Open();
    Put(*replaced, Memo("y"));
    Write(kHeader);
    IdList ids;
    TimeValue until;
    EXPECT_EQ(replaced->modifiedSince(kEarliestTime, NoteClass::Document, ids, until), kNotDatabase)
        << "the file shrank under it";
}

} // namespace
