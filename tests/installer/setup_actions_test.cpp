// The package's own steps without an installer: the client's add-in list, the administrator's
// presets and the data handed to the deferred steps.
#include "action_data.h"
#include "addin_list.h"
#include "presets.h"
#include "setup_error.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

namespace {

using namespace setup;

TEST(AddInList, OursIsAddedOnceAndTakenOutKeepingTheOthers) {
    struct Case {
        std::string before, installed, removed;
    };
    const Case cases[] = {
        {"", "TamselDesktop.dll", ""},
        {"  ", "TamselDesktop.dll", ""},
        {"Other.dll", "Other.dll,TamselDesktop.dll", "Other.dll"},
        {"Other.dll,", "Other.dll,TamselDesktop.dll", "Other.dll"},
        {"A.dll,,B.dll", "A.dll,,B.dll,TamselDesktop.dll", "A.dll,,B.dll"},
        // Already listed, by name, in another case or by a path: never twice.
        {"A.dll, tamseldesktop.DLL ,B.dll", "A.dll, tamseldesktop.DLL ,B.dll", "A.dll,B.dll"},
        {"C:\\Tamsel\\TamselDesktop.dll,B.dll", "C:\\Tamsel\\TamselDesktop.dll,B.dll", "B.dll"},
        {"TamselDesktop.dll,TamselDesktop.dll", "TamselDesktop.dll,TamselDesktop.dll", ""},
        // A name that only ends like ours is another add-in.
        {"NotTamselDesktop.dll", "NotTamselDesktop.dll,TamselDesktop.dll", "NotTamselDesktop.dll"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WithAddIn(c.before), c.installed) << c.before;
        EXPECT_EQ(WithoutAddIn(WithAddIn(c.before)), c.removed) << c.before;
    }
}

struct PresetCase {
    const char* name;
    std::map<std::string, std::string> properties;
    std::map<std::string, std::string> settings; // what the client's settings hold already
    std::vector<SettingChange> expected;
    const wchar_t* refusal = nullptr; // part of the message when the install must stop
};

std::vector<SettingChange> ChangesOf(const PresetCase& c) {
    const auto property = [&](const char* name) {
        const auto found = c.properties.find(name);
        return found == c.properties.end() ? std::string() : found->second;
    };
    const auto setting = [&](const std::string& name) -> std::optional<std::string> {
        const auto found = c.settings.find(name);
        if (found == c.settings.end())
            return std::nullopt;
        return found->second;
    };
    return PresetChanges(property, "C:\\Data", setting);
}

TEST(Presets, BecomeThePluginsSettingsOrStopTheInstallNamingTheProperty) {
    const PresetCase cases[] = {
        {"nothing given changes nothing", {}, {{"AdminODSLock", "1"}}, {}},
        {"flags on and off",
         {{"INDEXING", "1"}, {"LOCK", "1"}, {"NOMENU", "0"}, {"DISABLE", "0"}},
         {},
         {{"DesktopSearchIndexEnabled", "1"},
          {"AdminODS", ""},
          {"AdminODSLock", "1"},
          {"AdminODSNoMenu", ""}}},
        {"numbers",
         {{"FREQUENCY", "07"}, {"WAITTIME", "0"}},
         {},
         {{"DesktopSearchFreqMinutes", "7"}, {"DesktopSearchWaitTime", "0"}}},
        {"the first slot's variable has no number",
         {{"DATABASES", "mail.zrb; archive.zrb ;"}},
         {},
         {{"DesktopSearchFilePath", "mail.zrb"}, {"DesktopSearchFilePath1", "archive.zrb"}}},
        {"free slots only, each database once, relative paths are the data directory's",
         {{"DATABASES", "C:\\DATA\\MAIL.zrb;new.zrb;other\\x.zrb"}},
         {{"DesktopSearchFilePath", "mail.zrb"}, {"DesktopSearchFilePath2", "other\\x.zrb"}},
         {{"DesktopSearchFilePath1", "new.zrb"}}},
        {"a flag takes 0 or 1", {{"LOCK", "yes"}}, {}, {}, L"LOCK=\"yes\" is not valid"},
        {"minutes from 1 to 99", {{"FREQUENCY", "100"}}, {}, {}, L"FREQUENCY=\"100\""},
        {"no minutes below 1", {{"FREQUENCY", "0"}}, {}, {}, L"1 to 99"},
        {"no signs", {{"WAITTIME", "-5"}}, {}, {}, L"WAITTIME=\"-5\""},
        {"no more than fifteen databases",
         {{"DATABASES", "a;b;c;d;e;f;g;h;i;j;k;l;m;n;o;p"}},
         {},
         {},
         L"at most 15 databases"},
        {"a path longer than a slot",
         {{"DATABASES", std::string(257, 'x')}},
         {},
         {},
         L"at most 256 characters"},
    };
    for (const PresetCase& c : cases) {
        if (c.refusal) {
            try {
                ChangesOf(c);
                ADD_FAILURE() << c.name << ": not refused";
            } catch (const SetupError& error) {
                EXPECT_NE(error.message.find(c.refusal), std::wstring::npos) << c.name;
            }
        } else {
            EXPECT_EQ(ChangesOf(c), c.expected) << c.name;
        }
    }
}

// A per-machine install passes the command line's properties to its service only when the
// package lists them as secure: every preset must be listed where the package is made.
TEST(Presets, EveryPresetIsASecurePropertyOfThePackage) {
    std::ifstream script(PACKAGE_SCRIPT);
    ASSERT_TRUE(script) << PACKAGE_SCRIPT;
    std::stringstream text;
    text << script.rdbuf();
    const std::string presets = text.str().substr(text.str().find("presets=\""));
    const std::string list = ";" + presets.substr(9, presets.find('"', 9) - 9) + ";";
    for (const std::string& property : PresetProperties())
        EXPECT_NE(list.find(";" + property + ";"), std::string::npos) << property;
}

TEST(ActionData, RoundTripsAndRefusesWhatTheSettingsFileCannotHold) {
    const ActionData data{"C:\\Data",
                          "C:\\Program Files\\Tamsel\\TamselDesktop.dll",
                          {{"AddInMenus", "A.dll,TamselDesktop.dll"},
                           {"AdminODS", ""},
                           {"DesktopSearchFilePath", "a=b.zrb"}}};
    EXPECT_EQ(Decode(Encode(data)), data);
    EXPECT_EQ(Decode(Encode({"C:\\Data", "", {}})), (ActionData{"C:\\Data", "", {}}));
    EXPECT_THROW(Encode({"C:\\Data", "", {{"DesktopSearchFilePath", "a\r\nAdminODS=1"}}}),
                 SetupError);
    EXPECT_THROW(Encode({"C:\\Data", "", {{"Bad=Name", "1"}}}), SetupError);
    EXPECT_THROW(Decode("C:\\Data\nmodule\nno equals sign\n"), SetupError);
}

} // namespace
