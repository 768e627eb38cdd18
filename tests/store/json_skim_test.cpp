#include "item_values.h"
#include "json_skim.h"

#include <gtest/gtest.h>

using namespace store;

namespace {

TEST(JsonSkim, FindsTheEndOfEveryKindOfValue) {
    const struct {
        const char* text;
        size_t end;
    } cases[] = {
        {R"("a\"b",)", 6},
        {R"([1, [2, {"k": "]"}]] x)", 20},
        {"true]", 4},
        {"-1.5e3,", 6},
        {R"({"a":null})", 10},
        {"  []", 4},
        {R"("open)", std::string_view::npos},
        {"[1,]", std::string_view::npos},
        {"tru", std::string_view::npos},
        {R"({"a" 1})", std::string_view::npos},
        {"[[[[", std::string_view::npos},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SkipJsonValue(c.text, 0), c.end) << c.text;
    const std::string deep = std::string(100, '[') + std::string(100, ']');
    EXPECT_EQ(SkipJsonValue(deep, 0), std::string_view::npos) << "bounded depth";
}

TEST(JsonSkim, WalksEntriesOfObjectsAndArrays) {
    const struct {
        const char* text;
        std::vector<std::string> entries; // key=value, or the value alone in an array
        size_t end;
    } cases[] = {
        {R"( {"a": 1, "b\"c": [2, "]"] , "d":{}} x)", {"a=1", "b\"c=[2, \"]\"]", "d={}"}, 36},
        {R"(["x", {"k": null}, -2])", {"\"x\"", "{\"k\": null}", "-2"}, 22},
        {"[]", {}, 2},
        {"{}", {}, 2},
        {R"({"a":1,})", {"a=1"}, std::string_view::npos},
        {R"({"a" 1})", {}, std::string_view::npos},
        {"[1 2]", {"1"}, std::string_view::npos},
        {"[1", {"1"}, std::string_view::npos},
        {"[tru]", {}, std::string_view::npos},
    };
    for (const auto& c : cases) {
        JsonEntries walk(c.text, 0);
        std::vector<std::string> entries;
        std::string key;
        while (walk.next(key)) {
            const std::string_view value = walk.value();
            if (value.empty())
                break;
            entries.push_back((walk.kind() == '{' ? key + "=" : "") + std::string(value));
        }
        EXPECT_EQ(entries, c.entries) << c.text;
        EXPECT_EQ(walk.end(), c.end) << c.text;
    }
    // A caller that walks a nested value itself goes on after it.
    const std::string text = R"({"list":[1,[2]],"after":true})";
    JsonEntries outer(text, 0);
    std::string key;
    ASSERT_TRUE(outer.next(key));
    JsonEntries inner(text, outer.valueStart());
    while (inner.next(key))
        inner.value();
    outer.skipTo(inner.end());
    ASSERT_TRUE(outer.next(key));
    EXPECT_EQ(key, "after");
    EXPECT_EQ(outer.value(), "true");
    EXPECT_FALSE(outer.next(key));
    EXPECT_EQ(outer.end(), text.size());
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

TEST(JsonSkim, RawBodiesReadAsTheParsedOnes) {
    Note note;
    note.id = 4;
    note.modified = *TextToTime("2026-01-01 10:00");
    note.items = {{"Subject", ItemType::Text, false, "\"type\":1,\"value\":[[\"not a key\"]]"},
                  {"Body", ItemType::RichText, false, {{"one", {{"text", " two"}}}, {"x"}}},
                  {"Other", ItemType::RichText, false, "plain\nlines"}};
    const std::string record = NoteToRecord(note);
    std::string error;
    auto read = NoteFromRecord(record, error);
    ASSERT_TRUE(read) << error;
    EXPECT_FALSE(read->find("Body")->rawValue.empty());
    EXPECT_FALSE(read->find("Other")->rawValue.empty());
    EXPECT_EQ(read->find("Subject")->value, note.find("Subject")->value)
        << "the look-alike inside the subject text is no item";
    for (const char* name : {"Subject", "Body", "Other"})
        EXPECT_EQ(ItemToText(*read->find(name), ""), ItemToText(*note.find(name), "")) << name;
    EXPECT_EQ(NoteToRecord(*read), record) << "written back unchanged";
    Item& body = *read->find("Body");
    ASSERT_TRUE(MaterializeItem(body));
    EXPECT_EQ(body.value, note.find("Body")->value);
}

} // namespace
