// Note records as other writers or a damaged file may hold them: read as a JSON parser would
// read them, or refused with a reason.
#include "item_values.h"

#include <gtest/gtest.h>

using namespace store;

namespace {

const std::string kOid =
    R"("oid":{"file":"0123456789ABCDEF","note":"0000000000000004","seq":2,"seqTime":"2026-01-01 10:00"})";
const std::string kHead = R"({"note":4,"class":1,"modified":"2026-01-01 10:00",)" + kOid;

std::string WithItems(const std::string& items) {
    return kHead + R"(,"items":[)" + items + "]}";
}

TEST(NoteRecord, ReadsRecordsOfAnyLayout) {
    const struct {
        std::string record;
        uint32_t id;
        std::string item;
        std::string text;
    } cases[] = {
        {" { \"items\" : [ { \"value\" : \"Hi\" , \"type\" : 1280 , \"name\" : \"Subject\" } ] , " +
             kOid + R"( , "modified" : "2026-01-01 10:00" , "note" : 8 } )",
         8, "Subject", "Hi"},
        {kHead +
             R"(,"extra":{"a":[1,{"b":"]"}]},"items":[{"name":"S","type":1280,"value":"x","x":null}]})",
         4, "S", "x"},
        {kHead + R"(,"note":12,"items":[{"name":"S","type":1280,"value":"old","value":"new"}]})",
         12, "S", "new"},
        {WithItems(R"({"name":"S","type":1280,"value":"t\tq\"\u00e4\ud83d\ude00\\"})"), 4, "S",
         "t\tq\"\xC3\xA4\xF0\x9F\x98\x80\\"},
        {WithItems(R"({"name":"N","type":769,"value":[1, 2.5e0]})"), 4, "N", "1, 2.5"},
        {WithItems(R"({"name":"To","type":1281,"value":["a", "b"]})"), 4, "To", "a, b"},
        {WithItems(R"({"name":"F","type":3,"value":{"file":"a.txt","size":3}})"), 4, "F", "a.txt"},
        {WithItems(R"({"name":"B","type":1,"value":"two\nlines"})"), 4, "B", "two\r\nlines\r\n"},
        {WithItems("{\"name\":\"S\",\"type\":1280,\"value\":\"a\xFF"
                   "b\"}"),
         4, "S",
         "a\xEF\xBF\xBD"
         "b"},
    };
    for (const auto& c : cases) {
        std::string error;
        const auto note = NoteFromRecord(c.record, error);
        ASSERT_TRUE(note) << c.record << ": " << error;
        EXPECT_EQ(note->id, c.id) << c.record;
        EXPECT_EQ(note->originator.sequence, 2u) << c.record;
        ASSERT_TRUE(note->find(c.item)) << c.record;
        EXPECT_EQ(ItemToText(*note->find(c.item), ", "), c.text) << c.record;
    }
}

TEST(NoteRecord, StubsAndSealedItemsKeepTheirShape) {
    std::string error;
    const auto stub = NoteFromRecord(
        R"({"note":4,"class":2,"modified":"2026-01-01 10:00","deleted":true,)" + kOid + "}", error);
    ASSERT_TRUE(stub) << error;
    EXPECT_TRUE(stub->deleted);
    EXPECT_EQ(stub->noteClass, NoteClass::Info);
    EXPECT_TRUE(stub->items.empty());

    const auto sealed = NoteFromRecord(
        WithItems(R"({"name":"Body","type":1,"sealed":true,"value":"0A1B"})"), error);
    ASSERT_TRUE(sealed) << error;
    const Item& body = sealed->items.at(0);
    EXPECT_TRUE(body.sealed);
    EXPECT_TRUE(body.rawValue.empty()) << "a sealed body is no rich text until decrypted";
    EXPECT_EQ(body.value, "0A1B");
}

TEST(NoteRecord, RefusesBrokenRecordsWithTheReason) {
    const struct {
        std::string record;
        const char* reason;
    } cases[] = {
        {kHead + ",\"items\":[", "not a JSON object"},
        {WithItems("") + " x", "not a JSON object"},
        {WithItems(R"({"name":"S","type":1280,"value":"x" "y"})"), "not a JSON object"},
        {"[4]", "not a JSON object"},
        {R"({"note":-4,"modified":"2026-01-01 10:00",)" + kOid + "}", "no note ID"},
        {R"({"note":"4","modified":"2026-01-01 10:00",)" + kOid + "}", "no note ID"},
        {R"({"note":4294967296,"modified":"2026-01-01 10:00",)" + kOid + "}", "no note ID"},
        {R"({"note":4,)" + kOid + "}", "no modification time"},
        {R"({"note":4,"modified":"yesterday",)" + kOid + "}", "no modification time"},
        {R"({"note":4,"modified":"2026-01-01 10:00","oid":{"file":"0123456789ABCDEF"}})",
         "no originator id"},
        {kHead + R"(,"items":{}})", "items are not a list"},
        {WithItems(R"({"name":"S","value":"x"})"), "an item without name or type"},
        {WithItems(R"({"name":"S","type":70000,"value":"x"})"), "an item without name or type"},
        {WithItems("5"), "an item without name or type"},
        {WithItems(R"({"name":"S","type":1280,"value":5})"),
         "item \"S\" does not hold a value of type 1280"},
        {WithItems(R"({"name":"To","type":1281,"value":["a",5]})"),
         "item \"To\" does not hold a value of type 1281"},
        {WithItems(R"({"name":"B","type":1,"value":null})"),
         "item \"B\" does not hold a value of type 1"},
        {R"({"modified":"2026-01-01 10:00",)" + kOid + R"(,"items":[5]})", "no note ID"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(NoteFromRecord(c.record, error)) << c.record;
        EXPECT_EQ(error, c.reason) << c.record;
    }
}

} // namespace
