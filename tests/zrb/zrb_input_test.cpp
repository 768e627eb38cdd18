#include "arguments.h"
#include "item_values.h"
#include "note_json.h"

#include <gtest/gtest.h>

#include <stdexcept>

using nlohmann::json;
namespace Type = store::ItemType;

namespace {

TEST(NoteInput, InfersItemTypesFromTheirJson) {
    const json input = json::parse(R"({"class": 4, "items": {
        "Subject": "Grüße", "SendTo": ["a", "b"], "Size": 3, "Sizes": [1, 2.5],
        "PostedDate": {"time": "2026-12-08 18:00"}, "Range": {"time": ["2026-12-08", "2026-12-09"]},
        "Body": {"richtext": "one\ntwo"}, "$FILE": {"attachment": "a.pdf", "size": 10},
        "$WindowTitle": {"formula": "Subject"}, "Raw": {"type": 1281, "value": ["x"]}}})");
    const store::Note note = zrb::NoteFromInput(input, 1);
    EXPECT_EQ(note.noteClass, 4u);
    const struct {
        const char* name;
        uint16_t type;
        const char* text;
    } cases[] = {
        {"Subject", Type::Text, "Grüße"},
        {"SendTo", Type::TextList, "a|b"},
        {"Size", Type::Number, "3"},
        {"Sizes", Type::NumberRange, "1|2.5"},
        {"PostedDate", Type::Time, "2026-12-08 18:00:00.00 +00:00"},
        {"Range", Type::TimeRange, "2026-12-08|2026-12-09"},
        {"Body", Type::RichText, "one\r\ntwo\r\n"},
        {"$FILE", Type::Attachment, "a.pdf"},
        {"$WindowTitle", Type::Formula, "Subject"},
        {"Raw", Type::TextList, "x"},
    };
    for (const auto& c : cases) {
        const store::Item* item = note.find(c.name);
        ASSERT_NE(item, nullptr) << c.name;
        EXPECT_EQ(item->type, c.type) << c.name;
        EXPECT_EQ(store::ItemToText(*item, "|"), c.text) << c.name;
    }
}

TEST(NoteInput, SealedItemsOpenWithTheDatabasesKey) {
    const json input = json::parse(R"({"items": {"Body": {"type": 1280, "value": "secret",
                                                          "sealed": true}}})");
    store::Note note = zrb::NoteFromInput(input, 0xABCDEF);
    EXPECT_TRUE(note.items[0].sealed);
    EXPECT_EQ(store::ItemToText(note.items[0], ""), "");
    ASSERT_TRUE(store::DecryptNote(note, 0xABCDEF));
    EXPECT_EQ(store::ItemToText(note.items[0], ""), "secret");
}

TEST(NoteInput, NamesTheItemThatCannotBeRead) {
    const struct {
        const char* input;
        const char* mentions;
    } cases[] = {
        {R"([1, 2])", "\"items\""},
        {R"({"items": []})", "\"items\""},
        {R"({"class": "memo", "items": {}})", "\"class\""},
        {R"({"items": {"When": {"time": "someday"}}})", "When"},
        {R"({"items": {"Mixed": ["a", 1]}})", "Mixed"},
        {R"({"items": {"Odd": {"colour": "red"}}})", "Odd"},
        {R"({"items": {"Bad": {"type": 768, "value": "x"}}})", "Bad"},
        {R"({"items": {"$FILE": [{"attachment": "a.pdf"}, {"colour": "red"}]}})", "$FILE"},
        {R"({"class": 70000, "items": {}})",
         "\"class\" must be a number from 0 to 65535, not 70000"},
        {R"({"class": -1, "items": {}})", "\"class\" must be a number from 0 to 65535, not -1"},
        {R"({"class": 1.5, "items": {}})", "not 1.5"},
        {R"({"items": {"Wide": {"type": 99999, "value": "x"}}})",
         "Wide\": \"type\" must be a number from 0 to 65535, not 99999"},
        {R"({"items": {"Minus": {"type": -1, "value": "x"}}})", "not -1"},
    };
    for (const auto& c : cases) {
        try {
            zrb::NoteFromInput(json::parse(c.input), 1);
            ADD_FAILURE() << "accepted " << c.input;
        } catch (const std::runtime_error& error) {
            EXPECT_NE(std::string(error.what()).find(c.mentions), std::string::npos)
                << c.input << ": " << error.what();
        }
    }
}

TEST(ToolArguments, SplitsWordsOptionsAndFlags) {
    const auto arguments = zrb::ParseArguments({"mail.zrb", "--user", "Anna Berg", "--add", "4,8"},
                                               1, {"--user", "--add", "--remove"}, {});
    EXPECT_EQ(arguments.positional, std::vector<std::string>{"mail.zrb"});
    EXPECT_EQ(arguments.text("--user").value_or(""), "Anna Berg");
    EXPECT_FALSE(arguments.has("--remove"));
    EXPECT_THROW(zrb::ParseArguments({"--colour", "red"}, 1, {"--user"}, {}), std::runtime_error);
    EXPECT_THROW(zrb::ParseArguments({"x", "--user"}, 1, {"--user"}, {}), std::runtime_error);
    EXPECT_THROW(zrb::ParseArguments({"x", "y"}, 1, {}, {}), std::runtime_error);
    const auto numbers = zrb::ParseArguments({"--mails", "12x"}, 0, {"--mails"}, {});
    EXPECT_THROW(numbers.number("--mails"), std::runtime_error);
}

} // namespace
