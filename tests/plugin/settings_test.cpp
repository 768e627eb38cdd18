#include "file_text.h"
#include "plugin_fixture.h"
#include "settings/client_settings.h"
#include "unique_resource.h"

#include <functional>

using namespace tamsel;

namespace {

class Settings : public PluginTest {};

TEST_F(Settings, DefaultsWithoutASettingsFile) {
    EXPECT_TRUE(IsPluginAllowed());
    EXPECT_FALSE(IsIndexingEnabled());
    EXPECT_FALSE(IsDebugLogging());
    EXPECT_TRUE(GetIndexChats());
    EXPECT_TRUE(GetSendDeletions());
    EXPECT_TRUE(GetIndexHistory());
    EXPECT_TRUE(GetIndexAllForms());
    EXPECT_EQ(GetFrequencyMinutes(), 5u);
    EXPECT_EQ(GetWaitTime(), 20u);
    EXPECT_EQ(GetInstallTime(), 0);
    char fields[256] = "junk";
    EXPECT_FALSE(GetDataFields(fields));
    EXPECT_STREQ(fields, "");
}

TEST_F(Settings, EachFlagFollowsItsVariable) {
    const struct {
        const char* variable;
        BYTE (*getter)();
        BYTE whenSet;
    } flags[] = {
        {"DesktopSearchIndexEnabled", IsIndexingEnabled, 1},
        {"AdminODSLock", IsSettingsLocked, 1},
        {"AdminODSNoMenu", IsMenuSuppressed, 1},
        {"AdminODS", IsPluginAllowed, 0},
        {"DesktopSearchDebug", IsDebugLogging, 1},
        {"DesktopSearchDebugLots", IsVerboseDebugLogging, 1},
        {"DesktopSearchIndexEncrypted", GetIndexEncrypted, 1},
        {"DesktopSearchInstallInstructions", GetInstallInstructionsShown, 1},
        {"DesktopSearchAllowRemote", IsRemoteAllowed, 1},
        {"DesktopSearchIndexDrafts", GetIndexDrafts, 1},
        {"DesktopSearchNoIndexChats", GetIndexChats, 0},
        {"DesktopSearchNoDelete", GetSendDeletions, 0},
        {"DesktopSearchIndexOnIdle", GetIndexOnIdle, 1},
        {"DesktopSearchIndexDiscussion", GetIndexDiscussion, 1},
        {"DesktopSearchNoIndexHistory", GetIndexHistory, 0},
        {"DesktopSearchNoIndexAll", GetIndexAllForms, 0},
        {"DesktopSearchSkipLegal", GetSkipLegal, 1},
        {"DesktopSearchBuildQuarrix", GetBuildVariant, 1},
        {"DesktopSearchComputeOK", GetComputeOK, 1},
    };
    for (const auto& flag : flags) {
        for (const char* value : {"1", "7", "-1"}) {
            UseSettings(std::string(flag.variable) + "=" + value + "\n");
            EXPECT_EQ(flag.getter(), flag.whenSet) << flag.variable << "=" << value;
        }
        for (const char* value : {"0", "", "yes"}) {
            UseSettings(std::string(flag.variable) + "=" + value + "\n");
            EXPECT_EQ(flag.getter(), flag.whenSet ? 0 : 1) << flag.variable << "=" << value;
        }
    }
}

TEST_F(Settings, AdministratorSwitchOverridesEnabling) {
    UseSettings("DesktopSearchIndexEnabled=1\nAdminODS=1\n");
    EXPECT_FALSE(IsIndexingEnabled());
    UseSettings("DesktopSearchDebugLots=1\n");
    EXPECT_TRUE(IsDebugLogging()) << "verbose logging implies debug logging";
}

// Each numeric setting: its value, or its default with one log line when the value cannot be
// meant (negative where that means nothing, beyond 32 bits, not a number, an endless wait).
TEST_F(Settings, NumericSettingsTakeTheirDefaultAndSaySoWhenAValueCannotBeMeant) {
    const auto frequency = [] { return (long long)GetFrequencyMinutes(); };
    const auto wait = [] { return (long long)GetWaitTime(); };
    const auto install = [] { return (long long)GetInstallTime(); };
    const struct {
        const char* variable;
        const char* value;
        std::function<long long()> getter;
        long long expected;
        bool logged;
    } cases[] = {
        {"DesktopSearchFreqMinutes", "0", frequency, 5, false},
        {"DesktopSearchFreqMinutes", "", frequency, 5, false},
        {"DesktopSearchFreqMinutes", "1", frequency, 1, false},
        {"DesktopSearchFreqMinutes", " 99 ", frequency, 99, false},
        {"DesktopSearchFreqMinutes", "+7", frequency, 7, false},
        {"DesktopSearchFreqMinutes", "100", frequency, 99, false},
        {"DesktopSearchFreqMinutes", "150", frequency, 99, false},
        {"DesktopSearchFreqMinutes", "-1", frequency, 5, true},
        {"DesktopSearchFreqMinutes", "abc", frequency, 5, true},
        {"DesktopSearchFreqMinutes", "12x", frequency, 5, true},
        {"DesktopSearchFreqMinutes", "99999999999", frequency, 5, true},
        {"DesktopSearchWaitTime", "0", wait, 0, false},
        {"DesktopSearchWaitTime", "", wait, 20, false},
        {"DesktopSearchWaitTime", "70", wait, 70, false},
        {"DesktopSearchWaitTime", "60000", wait, 60000, false},
        {"DesktopSearchWaitTime", "60001", wait, 20, true},
        {"DesktopSearchWaitTime", "-1", wait, 20, true},
        {"DesktopSearchWaitTime", "4294967295", wait, 20, true},
        {"DesktopSearchWaitTime", "fast", wait, 20, true},
        {"DesktopSearchWaitTime", "1.5", wait, 20, true},
        {"DesktopSearchInstallTime2", "12345", install, 12345, false},
        {"DesktopSearchInstallTime2", "-2147483648", install, -2147483648LL, false},
        {"DesktopSearchInstallTime2", "2147483648", install, 0, true},
        {"DesktopSearchInstallTime2", "cookie", install, 0, true},
    };
    for (const auto& c : cases) {
        const std::string line = std::string(c.variable) + "=" + c.value;
        DeleteFileA(dir.file("tamsel.log").c_str());
        UseSettings(line + "\n");
        EXPECT_EQ(c.getter(), c.expected) << line;
        const std::vector<std::string> expectedLog{"TamselODSPlugin: Setting " + line +
                                                   " is not a usable value: using " +
                                                   std::to_string(c.expected)};
        EXPECT_EQ(LogLines(), c.logged ? expectedLog : std::vector<std::string>{}) << line;
    }
}

TEST_F(Settings, DataFieldsAreCopiedWhole) {
    const std::string fields = "Body,Comments," + std::string(200, 'x');
    UseSettings("DesktopSearchDataFields=" + fields + "\nDesktopSearchInstallTime2=12345\n");
    char buffer[256];
    EXPECT_TRUE(GetDataFields(buffer));
    EXPECT_EQ(std::string(buffer), fields);
    EXPECT_EQ(GetInstallTime(), 12345);
}

TEST_F(Settings, SettersWriteThroughAndOnlyWhenChanged) {
    const std::string unchanged =
        "[Tamsel]\nDesktopSearchIndexDrafts=1\nDesktopSearchFreqMinutes=7\n";
    testing_support::WriteFileText(dir.file("tamsel.ini"), unchanged);
    LoadSettings();
    SetIndexDrafts(1);
    SetFrequencyMinutes(7);
    SetIndexHistory(1);
    EXPECT_EQ(SettingsFileText(), unchanged) << "a value already stored writes nothing";

    SetIndexDrafts(0);
    SetIndexHistory(0);
    SetIndexEncrypted(5);
    SetFrequencyMinutes(0);
    EXPECT_EQ(StoreGetEnvInt("DesktopSearchIndexDrafts"), 0);
    EXPECT_EQ(StoreGetEnvInt("DesktopSearchNoIndexHistory"), 1);
    EXPECT_EQ(StoreGetEnvInt("DesktopSearchIndexEncrypted"), 1);
    EXPECT_EQ(StoreGetEnvInt("DesktopSearchFreqMinutes"), 5);
    EXPECT_FALSE(GetIndexHistory());
    EXPECT_EQ(GetFrequencyMinutes(), 5u);
    SetFrequencyMinutes(250);
    EXPECT_EQ(StoreGetEnvInt("DesktopSearchFreqMinutes"), 99);
}

TEST_F(Settings, EnablingUnderTheAdministratorSwitchAlwaysWrites) {
    UseSettings("DesktopSearchIndexEnabled=1\nAdminODS=1\n");
    StoreSetEnvInt("DesktopSearchIndexEnabled", 0);
    SetIndexingEnabled(1);
    EXPECT_EQ(StoreGetEnvInt("DesktopSearchIndexEnabled"), 1);
    EXPECT_FALSE(IsIndexingEnabled());
}

TEST_F(Settings, InstallTimeZeroRemovesTheVariable) {
    SetInstallTime(77);
    EXPECT_EQ(StoreGetEnvInt("DesktopSearchInstallTime2"), 77);
    SetInstallTime(0);
    char probe[8];
    EXPECT_FALSE(StoreGetEnvString("DesktopSearchInstallTime2", probe, sizeof probe));
    EXPECT_EQ(GetInstallTime(), 0);
}

TEST_F(Settings, AFileThatCannotBeWrittenKeepsTheValueInTheProcess) {
    UseSettings("");
    // Held open without delete sharing, the file cannot be replaced.
    win32::UniqueFile holder(CreateFileA(dir.file("tamsel.ini").c_str(), GENERIC_READ,
                                         FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    SetIndexingEnabled(1);
    SetFrequencyMinutes(12);
    holder.reset();
    EXPECT_TRUE(IsIndexingEnabled());
    EXPECT_EQ(GetFrequencyMinutes(), 12u);
    EXPECT_EQ(StoreGetEnvInt("DesktopSearchIndexEnabled"), 0);
}

} // namespace
