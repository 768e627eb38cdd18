#include "conversion_fixtures.h"
#include "convert/item_property.h"
#include "convert/item_text.h"
#include "convert/text_list.h"
#include "convert/text_property.h"
#include "idl/engine_results.h"
#include "settings/client_settings.h"

using namespace tamsel;

namespace {

using ItemTexts = FakeEngineConversion;

// `start`, then `times` copies of `piece`.
std::string Repeat(std::string start, const std::string& piece, size_t times) {
    for (size_t i = 0; i < times; ++i)
        start.append(piece);
    return start;
}

std::string Quoted(const std::string& text) {
    std::string quoted(1, '"');
    quoted.append(text).push_back('"');
    return quoted;
}

TEST_F(ItemTexts, JoinedListsSkipEmptyEntriesAndStopWhereTheBufferEnds) {
    const struct {
        std::initializer_list<std::string> entries;
        WORD capacity;
        const char* expected;
    } cases[] = {
        {{"a", "", "b"}, 100, "a, b"},
        {{"a", "b", ""}, 100, "a, b, "}, // "b" was not the last entry
        {{"", ""}, 100, ""},
        {{"CN=Anna Berg/OU=Sales/O=Acme", "bo@example.com"},
         100,
         "Anna Berg/Sales/Acme, bo@example.com"},
        {{"abc", "def"}, 6, "abc"},     // no room for a separator and more
        {{"abc", "def"}, 8, "abc, de"}, // the next entry as far as it fits
        {{"abcdef"}, 4, "abc"},
    };
    for (const auto& c : cases) {
        const NOTEHANDLE note = db->Open(db->Put({ListItem("SendTo", c.entries)}));
        char buffer[128];
        std::memset(buffer, 'x', sizeof buffer);
        const WORD length = JoinTextList(note, "SendTo", buffer, c.capacity);
        EXPECT_EQ(std::string(buffer, length), c.expected);
        EXPECT_EQ(buffer[length], '\0');
        EXPECT_EQ(buffer[c.capacity], 'x') << "nothing written beyond the capacity";
    }
    char untouched = 'x';
    EXPECT_EQ(JoinTextList(db->Open(db->Put({ListItem("SendTo", {"a"})})), "SendTo", &untouched, 0),
              0);
    EXPECT_EQ(untouched, 'x');
}

TEST_F(ItemTexts, ItemTextsJoinEntriesAndTurnZeroBytesIntoTheSeparator) {
    const NOTEHANDLE note = db->Open(db->Put({
        ListItem("Lines", {"one", std::string("two\0three", 9), ""}),
        NumberItem("Size", 12.5),
        TextItem("Empty", ""),
        TextItem("Accents", "aé"),
    }));
    char buffer[64];
    EXPECT_EQ(ReadItemText(note, "Lines", buffer, 64, Separator::lines), 17);
    EXPECT_STREQ(buffer, "one\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(ReadItemText(note, "Lines", buffer, 64, Separator::commas), 17);
    EXPECT_STREQ(buffer, "one, two, three, ");
    EXPECT_EQ(ReadItemText(note, "Lines", buffer, 6, Separator::commas), 5);
    EXPECT_STREQ(buffer, "one, ");
    EXPECT_EQ(ReadItemText(note, "Size", buffer, 64, Separator::commas), 4);
    EXPECT_STREQ(buffer, "12.5");
    EXPECT_EQ(ReadItemText(note, "Missing", buffer, 64, Separator::commas), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(ReadItemText(note, "Accents", buffer, 3, Separator::commas), 1)
        << "never half a character";
    EXPECT_STREQ(buffer, "a");

    EXPECT_TRUE(ItemHasText(note, "Size"));
    EXPECT_TRUE(ItemHasText(note, "Accents"));
    EXPECT_FALSE(ItemHasText(note, "Empty"));
    EXPECT_FALSE(ItemHasText(note, "Missing"));
}

TEST_F(ItemTexts, CategoryCodesInAnyCaseBecomeTheirNames) {
    const NOTEHANDLE note =
        db->Open(db->Put({ListItem("Categories", {"pc", "H", "", "Custom", "t", "Pc2", ""})}));
    EngineEvent event(indexTypeMail);
    EXPECT_EQ(WriteItemProperty(note, ItemReading::categories, "Categories", propCategories, event,
                                false),
              S_OK);
    ASSERT_EQ(event.Send(), S_OK);
    EXPECT_EQ(Added("content"),
              std::vector<std::string>{
                  "\"categories: Phone Calls, Holiday, Custom, Travel, Pc2, \r\n\""});
}

TEST_F(ItemTexts, LongTextsAreCutAt32767BytesAnd29999Characters) {
    const std::string accented = Repeat("a", "é", 20000); // 40001 bytes
    const NOTEHANDLE note = db->Open(db->Put({
        TextItem("Subject", accented),
        TextItem("Plain", std::string(31000, 'x')),
        TextItem("Exact", std::string(29999, 'y')),
    }));
    EngineEvent event(indexTypeMail);
    EXPECT_EQ(
        WriteItemProperty(note, ItemReading::commas, "Subject", propMailSubject, event, false),
        S_OK);
    EXPECT_EQ(WriteItemProperty(note, ItemReading::lines, "Plain", propCc, event, false), S_OK);
    EXPECT_EQ(WriteItemProperty(note, ItemReading::lines, "Exact", propBcc, event, false), S_OK);
    ASSERT_EQ(Added("subject").size(), 1u);
    EXPECT_EQ(Added("subject")[0], Quoted(Repeat("a", "é", 16383))) << "32767 bytes";
    EXPECT_EQ(Added("cc"), std::vector<std::string>{Quoted(std::string(29999, 'x'))});
    EXPECT_EQ(Added("bcc"), std::vector<std::string>{Quoted(std::string(29999, 'y'))});
}

TEST_F(ItemTexts, EmptyTextsAreWrittenOnlyWhenAsked) {
    const NOTEHANDLE note = db->Open(db->Put({TextItem("Subject", "")}));
    EngineEvent event(indexTypeMail);
    EXPECT_EQ(WriteItemProperty(note, ItemReading::commas, "Subject", propCc, event, false), S_OK);
    EXPECT_EQ(WriteItemProperty(note, ItemReading::commas, "Missing", propBcc, event, true), S_OK);
    EXPECT_TRUE(Added("cc").empty());
    EXPECT_EQ(Added("bcc"), std::vector<std::string>{"\"\""});
}

TEST_F(ItemTexts, AnEngineWithoutThePropertyIsLoggedAndNotAFailure) {
    fakes.answers["AddProperty cc"] = {engine_results::E_NO_SUCH_PROPERTY};
    fakes.answers["AddProperty bcc"] = {E_INVALIDARG};
    EngineEvent event(indexTypeMail);
    EXPECT_EQ(WriteTextProperty("x", 1, propCc, event, false), S_OK);
    EXPECT_EQ(WriteTextProperty("x", 1, propBcc, event, false), E_INVALIDARG);
    EXPECT_EQ(LogLines(), (std::vector<std::string>{
                              "TamselODSPlugin: AddProperty (cc): 80040004",
                              "TamselODSPlugin: AddProperty (no such property): 80040004"}))
        << "other failures only in debug mode";
    UseSettings("DesktopSearchDebug=1\n");
    EXPECT_EQ(WriteTextProperty("x", 1, propBcc, event, false), E_INVALIDARG);
    ASSERT_FALSE(LogLines().empty());
    EXPECT_EQ(LogLines().back(), "TamselODSPlugin: AddProperty (bcc): 80070057");
}

TEST_F(ItemTexts, AddressesComeFromTheirItemsAndTheSenderFromPrincipalFirst) {
    const NOTEHANDLE note = db->Open(db->Put({
        ListItem("SendTo", {"CN=Anna Berg/O=Acme", "Bo"}),
        TextItem("From", "Carl"),
        TextItem("Principal", "CN=Dora Ek/O=Acme"),
        NumberItem("Subject", 42),
    }));
    EngineEvent event(indexTypeMail);
    EXPECT_EQ(WriteAddressProperty(note, STORE_MAIL_SENDTO, event, propTo), S_OK);
    EXPECT_EQ(WriteAddressProperty(note, STORE_MAIL_FROM, event, propFrom), S_OK);
    EXPECT_EQ(WriteAddressProperty(note, STORE_MAIL_SUBJECT, event, propMailSubject), S_OK);
    EXPECT_EQ(WriteAddressProperty(note, STORE_MAIL_COPYTO, event, propCc), S_OK);
    EXPECT_EQ(Added("to"), std::vector<std::string>{"\"Anna Berg/Acme, Bo\""});
    EXPECT_EQ(Added("from"), std::vector<std::string>{"\"Dora Ek/Acme\""});
    EXPECT_EQ(Added("subject"), std::vector<std::string>{"\"42\""});
    EXPECT_TRUE(Added("cc").empty());
}

} // namespace
