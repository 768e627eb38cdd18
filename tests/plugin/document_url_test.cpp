#include "conversion_fixtures.h"
#include "convert/document_url.h"
#include "convert/engine_date.h"

#include <cstdio>

using namespace tamsel;

namespace {

using DocumentUrls = FakeEngineConversion;

std::string Hex(uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llX", static_cast<unsigned long long>(value));
    return text;
}

TEST_F(DocumentUrls, TheUrlNamesTheReplicaAndTheNotesUniversalId) {
    const NOTEHANDLE note = db->Open(db->Put({TextItem("Subject", "s")}));
    STOREORIGINATORID originator{};
    StoreGetNoteInfo(note, STORE_NOTEINFO_ORIGINATOR, &originator);
    char url[documentUrlSize];
    const WORD length = BuildNoteUrl(note, url);
    const uint64_t noteHalf = uint64_t(originator.note.high) << 32 | originator.note.low;
    EXPECT_EQ(std::string(url, length),
              "Tamsel:///" + Hex(db->ReplicaId()) + "//" + Hex(db->ReplicaId()) + Hex(noteHalf));
}

TEST_F(DocumentUrls, WithoutADatabaseThereIsNoUrlAndAnEmptyOneIsWritten) {
    STOREORIGINATORID anyOriginator{};
    anyOriginator.note = {0xFFFFFFFF, 0xFFFFFFFF};
    char url[documentUrlSize] = "stale";
    EXPECT_EQ(BuildDocumentUrl(0, anyOriginator, url), 0);
    EXPECT_STREQ(url, "");
    EXPECT_EQ(BuildDocumentUrl(0xBAD, anyOriginator, url), 0) << "a handle the client never gave";
    EXPECT_EQ(BuildNoteUrl(0, url), 0);

    EngineEvent event(indexTypeMail);
    EXPECT_EQ(WriteDocumentUrl(0, event, propMailUrl), S_OK);
    ASSERT_EQ(event.Send(), S_OK);
    EXPECT_EQ(Added("url"), std::vector<std::string>{"\"\""});
}

TEST_F(DocumentUrls, TheModifiedDateIsTheNotesLastChange) {
    const NOTEHANDLE note = db->Open(db->Put({TextItem("Subject", "s")}));
    STORETIME modified{};
    StoreGetNoteInfo(note, STORE_NOTEINFO_MODIFIED, &modified);
    const auto expected = ToEngineDate(modified);
    ASSERT_TRUE(expected);
    const auto date = NoteModifiedDate(note);
    ASSERT_TRUE(date);
    EXPECT_DOUBLE_EQ(*date, *expected);
    EXPECT_FALSE(NoteModifiedDate(0));
}

} // namespace
