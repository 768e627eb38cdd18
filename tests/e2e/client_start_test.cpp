#include "client_run.h"
#include "file_text.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using testing_support::TempDir;

const char* const noticeLine =
    "nltamsel: Box \"Quarrix Velmora Tamsel Plug-In for Zendri Desktop Search\": The Quarrix "
    "Velmora Tamsel Plug-In for Zendri Desktop Search has been installed.  To complete "
    "installation and enable indexing of Velmora Tamsel documents, select \"Zendri Desktop "
    "Search for Tamsel\" from the Velmora Tamsel Actions menu.";

TEST(ClientStart, FirstRunShowsTheNoticeOnceAndIndexesUntilExit) {
    TempDir data;
    WriteClientSettings(data);
    const ClientRun first = RunClient(data, "--seconds 1");
    ASSERT_EQ(first.exitCode, 0) << first.output;
    EXPECT_TRUE(Contains(first.logLines, noticeLine)) << first.output;
    EXPECT_TRUE(Contains(first.logLines, "nltamsel: Add-in TamselDesktop.dll offers menu item "
                                         "\"Zendri Desktop Search for Tamsel\""));
    EXPECT_TRUE(Contains(first.logLines, "TamselODSPlugin: Starting indexing")) << first.output;
    EXPECT_TRUE(Contains(first.logLines, "TamselODSPlugin: Stopping indexing")) << first.output;
    EXPECT_NE(testing_support::ReadFileText(data.file("tamsel.ini"))
                  .find("DesktopSearchInstallInstructions=1"),
              std::string::npos);
    EXPECT_NE(first.output.find("TamselODSPlugin: Starting indexing"), std::string::npos)
        << "headless runs echo the log";

    const ClientRun second = RunClient(data, "--seconds 1");
    ASSERT_EQ(second.exitCode, 0) << second.output;
    // The log holds both runs; the notice appears once, from the first.
    EXPECT_EQ(std::count(second.logLines.begin(), second.logLines.end(), std::string(noticeLine)),
              1);
}

TEST(ClientStart, AdministratorSwitchLeavesNoItemAndNoThread) {
    TempDir data;
    WriteClientSettings(data, "AdminODS=1\r\nDesktopSearchIndexEnabled=1\r\n");
    const ClientRun run = RunClient(data, "--seconds 1 --menu 0");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(Contains(run.logLines, "nltamsel: Loaded add-in TamselDesktop.dll")) << run.output;
    EXPECT_TRUE(Contains(run.logLines, "nltamsel: There is no menu item 0")) << run.output;
    for (const std::string& line : run.logLines)
        EXPECT_EQ(line.find("TamselODSPlugin"), std::string::npos) << line;
}

TEST(ClientStart, MenuCommandReachesThePlugin) {
    TempDir data;
    WriteClientSettings(data, "DesktopSearchInstallInstructions=1\r\n");
    const ClientRun run = RunClient(data, "--seconds 1 --menu 0");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_FALSE(Contains(run.logLines, "nltamsel: There is no menu item 0")) << run.output;
    EXPECT_TRUE(Contains(run.logLines, "TamselODSPlugin: Stopping indexing")) << run.output;
}

TEST(ClientStart, MissingAddInIsLoggedAndTheClientRunsOn) {
    TempDir data;
    testing_support::WriteFileText(data.file("tamsel.ini"),
                                   "[Tamsel]\r\nAddInMenus=Missing.dll, "
                                   "TamselDesktop.dll\r\nDesktopSearchInstallInstructions=1\r\n");
    const ClientRun run = RunClient(data, "--seconds 1");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(Contains(run.logLines, "nltamsel: Cannot load add-in Missing.dll (error 126)"))
        << run.output;
    EXPECT_TRUE(Contains(run.logLines, "TamselODSPlugin: Starting indexing")) << run.output;
}

TEST(ClientStart, BadCommandLinesAreRefusedSayingWhy) {
    TempDir data;
    const struct {
        const char* arguments;
        const char* says;
    } cases[] = {
        {"--seconds soon", "--seconds needs a whole number, not 'soon'"},
        {"--seconds -1", "--seconds needs a whole number, not '-1'"},
        {"--seconds 99999999999", "--seconds must be at most 4294967, not 99999999999"},
        {"--seconds 4294968", "--seconds must be at most 4294967, not 4294968"},
        {"--menu 4294967296", "--menu must be at most 4294967295, not 4294967296"},
        {"--bogus", "unknown argument '--bogus'"},
        {"--answer yes,maybe", "--answer: 'maybe' is not one of ok, cancel, yes, no,"},
        {"--answer yes,,no", "--answer: '' is not one of"},
        {"--dialog \"wiggle 3\"", "--dialog: cannot do 'wiggle 3': there is no action 'wiggle'"},
        {"--dialog \"click IDC_ADD, check IDC_ENABLED\"",
         "--dialog: cannot do 'check IDC_ENABLED': no control is named 'IDC_ENABLED'"},
        {"--data", "--data needs a value"},
    };
    for (const auto& c : cases) {
        const ClientRun run = RunClient(data, c.arguments);
        EXPECT_EQ(run.exitCode, 2) << c.arguments;
        EXPECT_NE(run.output.find(c.says), std::string::npos) << c.arguments << ": " << run.output;
    }
}

} // namespace
