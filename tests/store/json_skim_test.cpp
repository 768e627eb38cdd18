#include "item_values.h"
#include "journal_scan.h"
#include "json_skim.h"

#include <gtest/gtest.h>

using namespace store;

namespace {

TEST(JsonSkim, FindsTheEndOfEveryKindOfValue) {
    const struct {
        const char* text;
        size_t end;
    } cases[] = {
        {R"("a\"b",)", 6},       {R"([1, [2, {"k": "]"}]] x)", 20}, {"true]", 4},
        {"-1.5e3,", 6},          {R"({"a":null})", 10},             {"  []", 4},
        {R"("open)", std::string_view::npos},  {"[1,]", std::string_view::npos},
        {"tru", std::string_view::npos},       {R"({"a" 1})", std::string_view::npos},
        {"[[[[", std::string_view::npos},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SkipJsonValue(c.text, 0), c.end) << c.text;
    const std::string deep = std::string(100, '[') + std::string(100, ']');
    EXPECT_EQ(SkipJsonValue(deep, 0), std::string_view::npos) << "bounded depth";
}

TEST(JsonSkim, TakesParagraphsOutOfRawRichText) {
    const struct {
        const char* raw;
        std::vector<std::string> paragraphs;
    } cases[] = {
        {R"([["Dear ", {"text": "Anna", "bold": true}], [], ["tab\there"]])",
         {"Dear Anna", "", "tab\there"}},
        {R"([["\u00e4\u65e5\ud83d\ude00 \"q\" \\ \/"]])", {"ä日😀 \"q\" \\ /"}},
        {R"([[{"style": [1, {"x": "]"}], "text": "after"}]])", {"after"}},
        {R"("two\r\nlines")", {"two", "lines"}},
        {R"([["lone \ud800 half"]])", {"lone \xEF\xBF\xBD half"}},
    };
    for (const auto& c : cases) {
        const auto paragraphs = RichTextParagraphs(c.raw);
        ASSERT_TRUE(paragraphs) << c.raw;
        EXPECT_EQ(*paragraphs, c.paragraphs) << c.raw;
    }
    for (const char* bad : {"7", R"([["a", 5]])", R"([{"text": "a"}])", R"([["\u12"]])",
                            R"([[{"bold": true}]])", "[[\"a\"]"})
        EXPECT_FALSE(RichTextParagraphs(bad)) << bad;
}

TEST(JsonSkim, LiftedBodiesReadAsTheParsedOnes) {
    Note note;
    note.id = 4;
    note.modified = *TextToTime("2026-01-01 10:00");
    note.items = {{"Subject", ItemType::Text, false, "\"type\":1,\"value\":[[\"not a key\"]]"},
                  {"Body", ItemType::RichText, false, {{"one", {{"text", " two"}}}, {"x"}}},
                  {"Other", ItemType::RichText, false, "plain\nlines"}};
    const std::string record = NoteToRecord(note);
    std::vector<std::string> raws;
    const std::string reduced = LiftRichTextValues(record, raws);
    ASSERT_EQ(raws.size(), 2u) << "the look-alike inside the subject text is no key";
    std::string error;
    auto lifted = NoteFromRecord(nlohmann::json::parse(reduced), error, &raws);
    ASSERT_TRUE(lifted) << error;
    EXPECT_FALSE(lifted->find("Body")->rawValue.empty());
    for (const char* name : {"Subject", "Body", "Other"})
        EXPECT_EQ(ItemToText(*lifted->find(name), ""), ItemToText(*note.find(name), "")) << name;
    EXPECT_EQ(NoteToRecord(*lifted), record) << "written back unchanged";
    Item& body = *lifted->find("Body");
    ASSERT_TRUE(MaterializeItem(body));
    EXPECT_EQ(body.value, note.find("Body")->value);
}

} // namespace
