#include "catalogue/catalogue.h"
#include "host/exports.h"
#include "host/host_state.h"
#include "plugin_fixture.h"
#include "settings/client_settings.h"
#include "state/thread_flags.h"

#include <algorithm>
#include <cstring>

using namespace tamsel;

namespace {

class AddinEntry : public PluginTest {
  protected:
    void TearDown() override {
        AddinMenuProc(ADDIN_MSG_TERM, &record);
        PluginTest::TearDown();
    }
    bool Logged(const std::string& line) const {
        const auto lines = LogLines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    ADDINMENURECORD record{};
};

TEST_F(AddinEntry, FirstStartOffersTheItemShowsTheNoticeOnceAndStartsIndexing) {
    EXPECT_EQ(AddinMenuProc(ADDIN_MSG_INIT, &record), 0);
    EXPECT_EQ(record.itemCount, 1);
    EXPECT_STREQ(record.itemText, "Zendri Desktop Search for Tamsel");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Quarrix Velmora Tamsel Plug-In for Zendri Desktop Search");
    EXPECT_EQ(
        boxes[0].text.rfind(
            "The Quarrix Velmora Tamsel Plug-In for Zendri Desktop Search has been installed.", 0),
        0u);
    EXPECT_EQ(boxes[0].type, unsigned(MB_ICONINFORMATION | MB_OK));
    EXPECT_EQ(StoreGetEnvInt("DesktopSearchInstallInstructions"), 1);
    EXPECT_NE(indexThread.load(), nullptr);
    EXPECT_TRUE(addinStarted);
}

TEST_F(AddinEntry, NoNoticeOnceItWasShown) {
    UseSettings("DesktopSearchInstallInstructions=1\n");
    AddinMenuProc(ADDIN_MSG_INIT, &record);
    EXPECT_EQ(record.itemCount, 1);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(AddinEntry, MenuItemIsTranslatedToTheClientCharacterSet) {
    const LCID before = GetThreadLocale();
    SetThreadLocale(MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT));
    InitCatalogue(GetModuleHandleW(nullptr));
    SetThreadLocale(before);
    UseSettings("DesktopSearchInstallInstructions=1\n");
    AddinMenuProc(ADDIN_MSG_INIT, &record);
    EXPECT_STREQ(record.itemText, "Zendri Desktop Search f\xC3\xBCr Tamsel");
    EXPECT_LT(std::strlen(record.itemText), 63u);
}

TEST_F(AddinEntry, AdministratorSwitchStartsNothing) {
    UseSettings("AdminODS=1\nDesktopSearchIndexEnabled=1\n");
    record.itemCount = 5;
    AddinMenuProc(ADDIN_MSG_INIT, &record);
    EXPECT_EQ(record.itemCount, -1);
    EXPECT_FALSE(addinStarted);
    EXPECT_EQ(indexThread.load(), nullptr);
    EXPECT_TRUE(boxes.empty());
    AddinMenuProc(ADDIN_MSG_TERM, &record);
    EXPECT_FALSE(stopRequested) << "termination does nothing when nothing was started";
}

TEST_F(AddinEntry, SuppressedMenuStillStartsIndexing) {
    UseSettings("AdminODSNoMenu=1\n");
    AddinMenuProc(ADDIN_MSG_INIT, &record);
    EXPECT_EQ(record.itemCount, -1);
    EXPECT_TRUE(addinStarted);
    EXPECT_NE(indexThread.load(), nullptr);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(AddinEntry, ASecondInitialisationLeavesTheRecordUntouched) {
    UseSettings("DesktopSearchInstallInstructions=1\n");
    AddinMenuProc(ADDIN_MSG_INIT, &record);
    const HANDLE thread = indexThread;
    ADDINMENURECORD second{};
    std::memset(&second, 0x5A, sizeof second);
    const ADDINMENURECORD copy = second;
    AddinMenuProc(ADDIN_MSG_INIT, &second);
    EXPECT_EQ(std::memcmp(&second, &copy, sizeof second), 0);
    EXPECT_EQ(indexThread.load(), thread);
}

TEST_F(AddinEntry, TerminationStopsTheThreadAndLogsBothLines) {
    UseSettings("DesktopSearchInstallInstructions=1\n");
    AddinMenuProc(ADDIN_MSG_INIT, &record);
    ASSERT_TRUE(WaitForLogLine("TamselODSPlugin: Starting indexing"));
    AddinMenuProc(ADDIN_MSG_TERM, &record);
    EXPECT_EQ(indexThread.load(), nullptr);
    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), 2u) << Log();
    EXPECT_EQ(lines[0], "TamselODSPlugin: Starting indexing");
    EXPECT_EQ(lines[1], "TamselODSPlugin: Stopping indexing");
}

TEST_F(AddinEntry, MenuCommandOpensTheDialogWithoutAnEngine) {
    UseSettings("DesktopSearchInstallInstructions=1\n");
    AddinMenuProc(ADDIN_MSG_INIT, &record);
    record.ownerWindow = GetDesktopWindow();
    AddinMenuProc(ADDIN_MSG_COMMAND, &record);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].resource, MAKEINTRESOURCEA(109));
    EXPECT_EQ(dialogs[0].owner, record.ownerWindow);
    EXPECT_FALSE(GetJustRegistered()) << "no engine, no registration";
}

TEST_F(AddinEntry, UnknownCodesAndNullRecordsAreIgnored) {
    for (WORD code : {WORD(1), WORD(4), WORD(0xFFFF)})
        EXPECT_EQ(AddinMenuProc(code, &record), 0);
    EXPECT_EQ(AddinMenuProc(ADDIN_MSG_INIT, nullptr), 0);
    EXPECT_EQ(AddinMenuProc(ADDIN_MSG_COMMAND, nullptr), 0);
    EXPECT_FALSE(addinStarted);
    EXPECT_EQ(record.itemCount, 0);
}

} // namespace
