#include "file_text.h"
#include "log_format.h"
#include "ntamsel.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <regex>

using testing_support::TempDir;

namespace {

class ClientLog : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(StoreClientInit(dir.path().c_str(), 0), STORE_NOERROR); }
    void TearDown() override {
        SetThreadLocale(MAKELCID(0x0409, SORT_DEFAULT));
        StoreClientInit(nullptr, 0);
    }
    std::string Log() const { return testing_support::ReadFileText(dir.file("tamsel.log")); }
    TempDir dir;
    HMODULE self = GetModuleHandleW(nullptr);
};

TEST_F(ClientLog, OneTimestampedLinePerMessage) {
    StoreLogMessage(300, self, 0);
    StoreLogMessage(300, self, 0);
    const std::regex line(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} Plain line\n)");
    const std::string log = Log();
    ASSERT_EQ(log.size() % 2, 0u);
    EXPECT_TRUE(std::regex_match(log.substr(0, log.size() / 2), line)) << log;
}

TEST_F(ClientLog, FormatsEveryDirective) {
    const STORETIME time{0x01020304, 0x00A0B0C0};
    StoreLogMessage(301, self, 0, "text", -12, 0xBEEFu, &time);
    EXPECT_NE(Log().find("Args: text -12 BEEF [00A0B0C0:01020304] 100%\n"), std::string::npos)
        << Log();
}

TEST_F(ClientLog, TimesAppearInTheirTextFormUnlessTheyAreNoTime) {
    STORETIME time;
    ASSERT_EQ(StoreTextToTime(nullptr, nullptr, "2026-12-08 18:00:00.00 +01:00", 64, &time),
              STORE_NOERROR);
    STORETIME earliest;
    StoreSetTimeConstant(STORE_TIME_EARLIEST, &earliest);
    StoreLogMessage(301, self, 0, "a", 1, 2u, &time);
    StoreLogMessage(301, self, 0, "b", 1, 2u, &earliest);
    EXPECT_NE(Log().find("Args: a 1 2 2026-12-08 18:00:00.00 +01:00 100%\n"), std::string::npos)
        << Log();
    EXPECT_NE(Log().find("Args: b 1 2 [00000000:00000000] 100%\n"), std::string::npos) << Log();
}

TEST_F(ClientLog, NonzeroStatusAddsItsText) {
    StoreLogMessage(300, self, STORE_ERR_NO_NOTE);
    EXPECT_NE(Log().find("Plain line: Document does not exist (551)\n"), std::string::npos)
        << Log();
    StoreLogMessage(300, self, 4711);
    EXPECT_NE(Log().find("Plain line: Client error (4711)\n"), std::string::npos) << Log();
}

TEST_F(ClientLog, LinesThatCannotBeFormattedAreWrittenRaw) {
    StoreLogMessage(302, self, 0, "never read");
    EXPECT_NE(Log().find("Unknown %q directive %s\n"), std::string::npos) << Log();
    StoreLogMessage(301, self, 0, nullptr, 1, 2u, nullptr);
    EXPECT_NE(Log().find("Args: (null) 1 2 (no time) 100%"), std::string::npos) << Log();
    StoreLogMessage(999, self, 0);
    EXPECT_NE(Log().find("Message 999 not found\n"), std::string::npos) << Log();
}

TEST_F(ClientLog, UsesTheThreadLanguageWithEnglishAsFallback) {
    SetThreadLocale(MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN_SWISS), SORT_DEFAULT));
    StoreLogMessage(300, self, 0);
    StoreLogMessage(303, self, 0);
    EXPECT_NE(Log().find("Schlichte Zeile\n"), std::string::npos) << Log();
    EXPECT_NE(Log().find("Only English\n"), std::string::npos) << Log();
}

TEST(LogFormat, UnknownDirectiveReadsNoArgument) {
    // An empty argument list would crash a formatter that reads before it checks.
    auto format = [](const char* text, ...) {
        va_list arguments;
        va_start(arguments, text);
        auto result = ntamsel::FormatLogText(text, arguments);
        va_end(arguments);
        return result;
    };
    EXPECT_FALSE(format("%s then %"));
    EXPECT_FALSE(format("%n"));
    EXPECT_EQ(format("%d%%", 5).value_or("-"), "5%");
}

} // namespace
