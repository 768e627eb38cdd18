#include "file_text.h"
#include "ntamsel.h"
#include "settings_text.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <climits>
#include <thread>
#include <vector>

using namespace ntamsel;
using testing_support::TempDir;

namespace {

TEST(SettingInt, ParsesOnlyWholeNumbers) {
    const struct {
        const char* text;
        long expected;
    } cases[] = {
        {"5", 5},
        {"-1", -1},
        {"+3", 3},
        {"  7  ", 7},
        {"abc", 0},
        {"12abc", 0},
        {"", 0},
        {"-", 0},
        {"1 2", 0},
        {"0x10", 0},
        {"4294967295", LONG_MAX},
        {"99999999999999999999", LONG_MAX},
        {"-99999999999", LONG_MIN},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseSettingInt(c.text), c.expected) << "text: '" << c.text << "'";
}

TEST(SettingText, FindsNamesWithoutRegardToCase) {
    const std::string file = "[Tamsel]\r\n; comment=1\r\nAlpha=one\r\nBETA = two\r\nEmpty=\r\n";
    EXPECT_EQ(FindSetting(file, "alpha").value_or("-"), "one");
    EXPECT_EQ(FindSetting(file, "Beta").value_or("-"), " two");
    EXPECT_FALSE(FindSetting(file, "Empty"));
    EXPECT_FALSE(FindSetting(file, "Gamma"));
    EXPECT_FALSE(FindSetting(file, "; comment")) << "a comment is not a variable";
}

TEST(SettingText, WritingReplacesAddsAndRemovesKeepingOtherLines) {
    std::string file = "[Tamsel]\r\n; keep me\r\nAlpha=one\r\nalpha=stale\r\n";
    file = WithSetting(file, "ALPHA", "two");
    EXPECT_EQ(file, "[Tamsel]\r\n; keep me\r\nALPHA=two\r\n") << "duplicates collapse into one";
    file = WithSetting(file, "Beta", "line\nbreak");
    EXPECT_EQ(FindSetting(file, "Beta").value_or("-"), "line break");
    file = WithSetting(file, "alpha", "");
    EXPECT_FALSE(FindSetting(file, "Alpha"));
    EXPECT_NE(file.find("; keep me"), std::string::npos);
    EXPECT_EQ(WithSetting("", "X", "1"), "[Tamsel]\r\nX=1\r\n");
}

TEST(SettingText, RejectsNamesThatCannotBeStored) {
    for (const char* bad : {"", "a=b", "a\nb", " lead", "trail ", "[Tamsel]", ";x"})
        EXPECT_FALSE(IsValidSettingName(bad)) << bad;
    EXPECT_TRUE(IsValidSettingName("DesktopSearchFilePath12"));
}

class SettingsFile : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(StoreClientInit(dir.path().c_str(), 0), STORE_NOERROR); }
    void TearDown() override { StoreClientInit(nullptr, 0); }
    TempDir dir;
};

TEST_F(SettingsFile, FirstWriteCreatesTheFileAndReadsSeeWritesAtOnce) {
    EXPECT_FALSE(testing_support::FileExists(dir.file("tamsel.ini")));
    EXPECT_EQ(StoreGetEnvInt("DesktopSearchFreqMinutes"), 0);
    EXPECT_EQ(StoreSetEnvInt("DesktopSearchFreqMinutes", 17), STORE_NOERROR);
    EXPECT_EQ(StoreGetEnvInt("DesktopSearchFreqMinutes"), 17);
    EXPECT_EQ(StoreSetEnvInt("DesktopSearchFreqMinutes", -4), STORE_NOERROR);
    EXPECT_EQ(StoreGetEnvInt("desktopsearchfreqminutes"), -4);
    EXPECT_NE(
        testing_support::ReadFileText(dir.file("tamsel.ini")).find("DesktopSearchFreqMinutes=-4"),
        std::string::npos);
}

TEST_F(SettingsFile, StringsAreBoundedAndEmptyTextClears) {
    char buffer[8] = "garbage";
    EXPECT_FALSE(StoreGetEnvString("Name", buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "");
    ASSERT_EQ(StoreSetEnvString("Name", "0123456789"), STORE_NOERROR);
    EXPECT_TRUE(StoreGetEnvString("Name", buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "0123456");
    char two[2] = "x";
    EXPECT_TRUE(StoreGetEnvString("Name", two, sizeof two)) << "existence with a 2-byte buffer";
    EXPECT_STREQ(two, "0");
    ASSERT_EQ(StoreSetEnvString("Name", "caf\xC3\xA9"), STORE_NOERROR);
    char five[5];
    EXPECT_TRUE(StoreGetEnvString("Name", five, sizeof five));
    EXPECT_STREQ(five, "caf") << "never half a character";
    ASSERT_EQ(StoreSetEnvString("Name", ""), STORE_NOERROR);
    EXPECT_FALSE(StoreGetEnvString("Name", buffer, sizeof buffer));
    EXPECT_EQ(StoreGetEnvInt("Name"), 0);
}

TEST_F(SettingsFile, ChangesByAnotherWriterAreSeenAtTheNextCall) {
    ASSERT_EQ(StoreSetEnvInt("Counter", 1), STORE_NOERROR);
    testing_support::WriteFileText(dir.file("tamsel.ini"),
                                   "[Tamsel]\nCounter=42\nText=not a number\n");
    EXPECT_EQ(StoreGetEnvInt("Counter"), 42);
    EXPECT_EQ(StoreGetEnvInt("Text"), 0);
}

TEST_F(SettingsFile, BadArgumentsAreRefused) {
    EXPECT_EQ(StoreSetEnvInt(nullptr, 1), STORE_ERR_BAD_ARGUMENT);
    EXPECT_EQ(StoreSetEnvString("a=b", "1"), STORE_ERR_BAD_ARGUMENT);
    EXPECT_EQ(StoreGetEnvInt(nullptr), 0);
    EXPECT_FALSE(StoreGetEnvString(nullptr, nullptr, 0));
}

TEST_F(SettingsFile, AFileThatCannotBeWrittenGivesAStatusAndKeepsTheOldValue) {
    ASSERT_EQ(StoreSetEnvInt("Kept", 5), STORE_NOERROR);
    // Windows refuses to replace a file that is open without delete sharing.
    HANDLE holder = CreateFileA(dir.file("tamsel.ini").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(StoreSetEnvInt("Kept", 6), STORE_ERR_SETTINGS_IO);
    CloseHandle(holder);
    EXPECT_EQ(StoreGetEnvInt("Kept"), 5);
    EXPECT_FALSE(testing_support::FileExists(dir.file("tamsel.ini.new") +
                                             std::to_string(GetCurrentProcessId())));
}

TEST_F(SettingsFile, ConcurrentWritersLoseNoUpdate) {
    std::vector<std::thread> writers;
    for (int w = 0; w < 4; ++w)
        writers.emplace_back([w] {
            for (int i = 1; i <= 25; ++i)
                StoreSetEnvInt(("Writer" + std::to_string(w)).c_str(), i);
        });
    for (auto& t : writers)
        t.join();
    for (int w = 0; w < 4; ++w)
        EXPECT_EQ(StoreGetEnvInt(("Writer" + std::to_string(w)).c_str()), 25);
}

TEST(SettingsWithoutDataDirectory, ReadsNothingAndWritesFail) {
    StoreClientInit(nullptr, 0);
    EXPECT_EQ(StoreThreadInit(), STORE_ERR_NOT_INITIALISED);
    EXPECT_EQ(StoreSetEnvInt("X", 1), STORE_ERR_SETTINGS_IO);
    EXPECT_EQ(StoreGetEnvInt("X"), 0);
    char buffer[256] = "x";
    EXPECT_EQ(StoreGetDataDirectory(buffer), 0);
    EXPECT_STREQ(buffer, "");
}

TEST(ClientInit, DataDirectoryIsGivenBackWithoutTrailingSeparator) {
    TempDir dir;
    EXPECT_EQ(StoreClientInit((dir.path() + "\\").c_str(), 0), STORE_NOERROR);
    char buffer[256];
    EXPECT_EQ(StoreGetDataDirectory(buffer), dir.path().size());
    EXPECT_EQ(buffer, dir.path());
    EXPECT_EQ(StoreThreadInit(), STORE_NOERROR);
    EXPECT_EQ(StoreClientInit(dir.file("missing").c_str(), 0), STORE_ERR_BAD_ARGUMENT);
    EXPECT_EQ(StoreClientInit(std::string(300, 'a').c_str(), 0), STORE_ERR_BAD_ARGUMENT);
    StoreClientInit(nullptr, 0);
}

TEST(ClientInit, ShutdownIsReportedUntilTheNextInit) {
    TempDir dir;
    ASSERT_EQ(StoreClientInit(dir.path().c_str(), 0), STORE_NOERROR);
    EXPECT_FALSE(StoreTerminationPending());
    StoreClientShutdown();
    EXPECT_TRUE(StoreTerminationPending());
    StoreClientInit(nullptr, 0);
    EXPECT_FALSE(StoreTerminationPending());
}

} // namespace
