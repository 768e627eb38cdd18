#include "ntamsel.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

WORD Translate(WORD direction, const char* text, char* out, WORD size) {
    return StoreTranslateText(direction, text, WORD(std::strlen(text)), out, size);
}

TEST(TranslateText, ConvertsBetweenPlatformCodePageAndClient) {
    ASSERT_EQ(GetACP(), 1252u) << "the tests expect a Western code page";
    char out[64];
    EXPECT_EQ(Translate(STORE_TRANSLATE_TO_CLIENT, "caf\xE9", out, sizeof out), 5);
    EXPECT_STREQ(out, "caf\xC3\xA9");
    EXPECT_EQ(Translate(STORE_TRANSLATE_TO_PLATFORM, "caf\xC3\xA9", out, sizeof out), 4);
    EXPECT_STREQ(out, "caf\xE9");
    EXPECT_EQ(Translate(STORE_TRANSLATE_TO_PLATFORM, "\xE6\x97\xA5", out, sizeof out), 1)
        << "a character the code page lacks becomes one replacement";
}

TEST(TranslateText, NeverWritesPastTheDestinationNorSplitsACharacter) {
    const struct {
        WORD direction;
        const char* text;
        WORD size;
        WORD expected;
    } cases[] = {
        {STORE_TRANSLATE_TO_CLIENT, "\xE9\xE9\xE9", 4, 2}, // room for one two-byte character
        {STORE_TRANSLATE_TO_CLIENT, "abcdef", 4, 3},
        {STORE_TRANSLATE_TO_PLATFORM, "\xC3\xA9\xC3\xA9", 2, 1},
        {STORE_TRANSLATE_TO_UNICODE, "abc", 6, 4},              // two units and the terminator
        {STORE_TRANSLATE_TO_UNICODE, "\xF0\x9F\x98\x80", 4, 0}, // a surrogate pair never halves
        {STORE_TRANSLATE_TO_CLIENT, "abc", 1, 0},
    };
    for (const auto& c : cases) {
        char out[16];
        std::memset(out, 'Z', sizeof out);
        EXPECT_EQ(Translate(c.direction, c.text, out, c.size), c.expected) << c.text;
        EXPECT_EQ(out[c.size], 'Z') << "wrote past the destination for " << c.text;
    }
}

TEST(TranslateText, ToUnicodeWritesUtf16) {
    char out[16];
    ASSERT_EQ(Translate(STORE_TRANSLATE_TO_UNICODE, "\xC3\xA9t\xC3\xA9", out, sizeof out), 6);
    const auto* wide = reinterpret_cast<const wchar_t*>(out);
    EXPECT_EQ(std::wstring(wide), L"\u00e9t\u00e9");
}

TEST(TranslateText, InvalidInputGivesEmptyOrReplacedText) {
    char out[16] = "x";
    EXPECT_EQ(Translate(7, "abc", out, sizeof out), 0) << "unknown direction";
    EXPECT_STREQ(out, "");
    EXPECT_EQ(StoreTranslateText(STORE_TRANSLATE_TO_CLIENT, nullptr, 5, out, sizeof out), 0);
    EXPECT_EQ(StoreTranslateText(STORE_TRANSLATE_TO_CLIENT, "abc", 3, nullptr, 10), 0);
    EXPECT_GT(Translate(STORE_TRANSLATE_TO_PLATFORM,
                        "a\xFF"
                        "b",
                        out, sizeof out),
              0)
        << "invalid UTF-8 is replaced, not fatal";
}

} // namespace
