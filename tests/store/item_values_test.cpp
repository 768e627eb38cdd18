#include "item_values.h"
#include "journal_scan.h"
#include "rich_text.h"
#include "text_utf8.h"

#include <gtest/gtest.h>

using namespace store;
using nlohmann::json;

namespace {

TEST(RichTextRendering, HonoursDelimiterLineLengthAndTabs) {
    const json body = json::array({json::array({"Dear ", {{"text", "Anna,"}}}), json::array(),
                                   json::array({"one two three four"}), json::array({"a\tb"})});
    const struct {
        RenderOptions options;
        const char* expected;
    } cases[] = {
        {{"\r\n", 0xFFFF, false}, "Dear Anna,\r\n\r\none two three four\r\na\tb\r\n"},
        {{"\n", 9, false}, "Dear\nAnna,\n\none two\nthree\nfour\na\tb\n"},
        {{"|", 0xFFFF, true}, "Dear Anna,||one two three four|a       b|"},
        {{"\n", 4, false}, "Dear\nAnna\n,\n\none\ntwo\nthre\ne\nfour\na\tb\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RenderRichText(body, c.options), c.expected) << c.options.lineLength;
}

TEST(RichTextRendering, CountsCharactersNotBytesWhenWrapping) {
    const json body = json::array({json::array({"äöü ßéè"})});
    EXPECT_EQ(RenderRichText(body, {"\n", 3, false}), "äöü\nßéè\n");
    EXPECT_EQ(RenderRichText(json::array({json::array({"\xFF"})}), {"\n", 80, false}),
              "\xEF\xBF\xBD\n");
    EXPECT_EQ(RenderRichText(json("two\nlines"), {"\n", 80, false}), "two\nlines\n");
}

TEST(ItemText, RendersEveryTypeAsText) {
    const struct {
        Item item;
        const char* expected;
    } cases[] = {
        {{"a", ItemType::Text, false, "plain"}, "plain"},
        {{"b", ItemType::TextList, false, {"x", "y", "z"}}, "x; y; z"},
        {{"c", ItemType::Number, false, 0.1}, "0.1"},
        {{"d", ItemType::NumberRange, false, {1, 2.5, -3}}, "1; 2.5; -3"},
        {{"e", ItemType::Time, false, "2026-12-08 18:00:00.00 +01:00"},
         "2026-12-08 18:00:00.00 +01:00"},
        {{"f", ItemType::Attachment, false, {{"file", "report.pdf"}, {"size", 10}}}, "report.pdf"},
        {{"g", ItemType::Text, true, "0011AA"}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ItemToText(c.item, "; "), c.expected) << c.item.name;
}

TEST(ItemText, ReadsNumbersAndTimesOnlyFromTheirTypes) {
    const Item range{"r", ItemType::TimeRange, false, {"2026-01-01", "2026-01-02"}};
    EXPECT_EQ(ItemTime(range), TextToTime("2026-01-01"));
    EXPECT_EQ(ItemValueCount(range), 2u);
    EXPECT_FALSE(ItemTime({"t", ItemType::Text, false, "2026-01-01"}));
    EXPECT_EQ(ItemNumber({"n", ItemType::NumberRange, false, {7, 8}}), 7.0);
    EXPECT_FALSE(ItemNumber({"n", ItemType::Text, false, "7"}));
    EXPECT_EQ(NumberToText(1e21), "1e+21");
    EXPECT_EQ(NumberToText(-2.25), "-2.25");
}

TEST(SealedItems, OpenOnlyWithTheRightKey) {
    Note note;
    const json secret = json::array({json::array({"Geheim: Gehälter"})});
    note.items.push_back({"Body", ItemType::RichText, true, SealValue(secret, 0x1234)});
    Note copy = note;
    EXPECT_FALSE(DecryptNote(copy, 0x9999));
    ASSERT_TRUE(DecryptNote(note, 0x1234));
    EXPECT_FALSE(note.items[0].sealed);
    EXPECT_EQ(note.items[0].value, secret);
}

TEST(Utf8, StepsAndTruncatesWithoutSplittingCharacters) {
    const std::string text = "a\xC3\xA4\xE6\x97\xA5\xF0\x9F\x98\x80"; // a ä 日 😀
    EXPECT_EQ(Utf8FitLength(text, 2), 1u);
    EXPECT_EQ(Utf8FitLength(text, 3), 3u);
    EXPECT_EQ(Utf8FitLength(text, 8), 6u);
    EXPECT_EQ(Utf8FitLength(text, 100), text.size());
    EXPECT_EQ(Utf8PreviousStart(text, text.size()), 6u);
    EXPECT_EQ(Utf8PreviousStart(text, 6), 3u);
    EXPECT_EQ(Utf8PreviousStart(text, 3), 1u);
    EXPECT_EQ(Utf8PreviousStart("\x80\x80", 2), 1u) << "a stray byte is one character";
    for (const char* bad : {"\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE6\x97"})
        EXPECT_EQ(SanitizeUtf8(bad).substr(0, 3), "\xEF\xBF\xBD") << bad;
}

TEST(JournalScan, ReadsOnlyTheLeadingKeysOfOurRecords) {
    const auto summary =
        ScanNotePrefix("{\"note\":12,\"class\":4,\"modified\":\"2026-01-01 10:00:00.00 +00:00\","
                       "\"deleted\":true,\"oid\":{}}");
    ASSERT_TRUE(summary);
    EXPECT_EQ(summary->noteId, 12u);
    EXPECT_EQ(summary->noteClass, 4u);
    EXPECT_TRUE(summary->deleted);
    for (const char* other : {"{\"class\":4,\"note\":12}", "{\"note\":99999999999,\"class\":1",
                              "{\"note\":1,\"class\":1,\"modified\":\"bad\",\"oid\":{}}", ""})
        EXPECT_FALSE(ScanNotePrefix(other)) << other;
    EXPECT_EQ(LeadingNoteId("{\"note\":7,garbage"), 7u);
}

} // namespace
