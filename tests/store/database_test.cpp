#include "database_fixture.h"
#include "item_values.h"

using namespace store;
using store_testing::DatabaseFixture;
using store_testing::Listed;
using store_testing::Memo;

namespace {

using DatabaseNotes = DatabaseFixture;

TEST_F(DatabaseNotes, NotesSurviveReopeningWithTheirItems) {
    auto database = Create("Inbox");
    const uint32_t first = Put(*database, Memo("First", "One\nTwo"));
    const uint32_t second = Put(*database, Memo("Zweite Grüße", "日本語"));
    EXPECT_LT(first, second);
    database.reset();

    auto reopened = Open();
    ASSERT_TRUE(reopened);
    EXPECT_EQ(reopened->info().title, "Inbox");
    EXPECT_EQ(reopened->info().flags & kUsableFlag, kUsableFlag);
    Note note;
    ASSERT_EQ(reopened->readNote(second, note), kOk);
    EXPECT_EQ(ItemToText(*note.find("SUBJECT"), ""), "Zweite Grüße") << "names ignore case";
    EXPECT_EQ(ItemToText(*note.find("Body"), ""), "日本語\r\n");
    EXPECT_EQ(note.originator.fileHalf, reopened->info().replicaId);
    EXPECT_EQ(note.originator.sequence, 1u);
    EXPECT_EQ(reopened->readNote(first + 1, note), kNoNote);
}

TEST_F(DatabaseNotes, NewVersionKeepsIdentityAndAdvancesTime) {
    auto database = Create();
    Note note = Memo("Draft");
    ASSERT_EQ(database->putNote(note), kOk);
    const Note original = note;
    note.find("Subject")->value = "Final";
    ASSERT_EQ(database->putNote(note), kOk);
    EXPECT_EQ(note.id, original.id);
    EXPECT_EQ(note.originator.noteHalf, original.originator.noteHalf);
    EXPECT_EQ(note.originator.sequence, 2u);
    EXPECT_GT(CompareTimes(note.modified, original.modified), 0);
    Note read;
    ASSERT_EQ(Open()->readNote(note.id, read), kOk);
    EXPECT_EQ(ItemToText(*read.find("Subject"), ""), "Final");
    EXPECT_EQ(Open()->entries().size(), 1u);
}

TEST_F(DatabaseNotes, DeletionLeavesAStubWithTheOriginatorId) {
    auto database = Create();
    Note note = Memo("Gone soon");
    ASSERT_EQ(database->putNote(note), kOk);
    ASSERT_EQ(database->deleteNote(note.id), kOk);
    EXPECT_EQ(database->deleteNote(note.id), kStubOrMissing) << "already a stub";
    EXPECT_EQ(database->deleteNote(note.id + 100), kNoNote);
    Note stub;
    EXPECT_EQ(Open()->readNote(note.id, stub), kStubOrMissing);
    EXPECT_TRUE(stub.deleted);
    EXPECT_EQ(stub.originator.noteHalf, note.originator.noteHalf);
    EXPECT_TRUE(stub.items.empty());
}

TEST_F(DatabaseNotes, ChangeListIsCompleteUpToItsUntilTime) {
    auto database = Create();
    const uint32_t deleted = Put(*database, Memo("Deleted"));
    const uint32_t kept = Put(*database, Memo("Kept"));
    ASSERT_EQ(database->deleteNote(deleted), kOk);

    IdList ids;
    TimeValue until;
    ASSERT_EQ(database->modifiedSince(kEarliestTime, NoteClass::Document, ids, until), kOk);
    // Stubs sort by their flagged ID: after the live note with a higher ID.
    EXPECT_EQ(Listed(ids), (std::vector<uint32_t>{kept, deleted | kDeletedNoteFlag}));
    EXPECT_EQ(database->modifiedSince(until, NoteClass::Document, ids, until), kNotModified);
    EXPECT_EQ(database->modifiedSince(kEarliestTime, NoteClass::Form, ids, until), kNotModified);

    const TimeValue firstPass = until;
    const uint32_t added = Put(*database, Memo("During the pass"));
    ASSERT_EQ(database->modifiedSince(firstPass, NoteClass::Document, ids, until), kOk);
    EXPECT_EQ(Listed(ids), std::vector<uint32_t>{added});
    EXPECT_GT(CompareTimes(until, firstPass), 0);
}

TEST_F(DatabaseNotes, UnreadMarksArePerUser) {
    auto database = Create();
    const uint32_t a = Put(*database, Memo("a")), b = Put(*database, Memo("b"));
    ASSERT_EQ(database->markUnread("Anna Berg", {a, b}, true), kOk);
    ASSERT_EQ(database->markUnread("Anna Berg", {a}, false), kOk);
    ASSERT_EQ(database->markUnread("Otto", {a}, true), kOk);
    auto reopened = Open();
    EXPECT_EQ(reopened->unreadNotes("Anna Berg"), std::vector<uint32_t>{b});
    EXPECT_EQ(reopened->unreadNotes("Otto"), std::vector<uint32_t>{a});
    EXPECT_TRUE(reopened->unreadNotes("Nobody").empty());
}

TEST_F(DatabaseNotes, HeaderChangesApply) {
    auto database = Create("Old");
    ASSERT_EQ(database->setHeader(std::string("New"), 0u), kOk);
    auto reopened = Open();
    EXPECT_EQ(reopened->info().title, "New");
    EXPECT_EQ(reopened->info().flags, 0u);
}

TEST_F(DatabaseNotes, ItemsFarBeyond32KilobytesAreKept) {
    auto database = Create();
    const std::string big(200 * 1024, 'x');
    Note note = Memo("Big", big);
    note.items.push_back({"Notes", ItemType::Text, false, big + "end"});
    ASSERT_EQ(database->putNote(note), kOk);
    Note read;
    ASSERT_EQ(Open()->readNote(note.id, read), kOk);
    EXPECT_EQ(ItemToText(*read.find("Notes"), "").size(), big.size() + 3);
    EXPECT_TRUE(ItemToText(*read.find("Body"), "") == big + "\r\n") << "one unwrapped line";
}

TEST_F(DatabaseNotes, RejectsValuesThatDoNotFitTheirType) {
    auto database = Create();
    const struct {
        uint16_t type;
        nlohmann::json value;
    } cases[] = {{ItemType::Text, 5},           {ItemType::Number, "five"},
                 {ItemType::Time, "yesterday"}, {ItemType::TextList, {"a", 1}},
                 {ItemType::RichText, 7},       {4242, "unknown type"}};
    for (const auto& c : cases) {
        Note note;
        note.items.push_back({"Field", c.type, false, c.value});
        EXPECT_EQ(database->putNote(note), kBadArgument) << c.type;
    }
    EXPECT_TRUE(database->entries().empty());
}

} // namespace
