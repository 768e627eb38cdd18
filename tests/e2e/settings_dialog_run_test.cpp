#include "database_run.h"
#include "file_text.h"
#include "installed_engines.h"
#include "program_run.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// The real client, plug-in and engines; the client's log is shown when a test fails.
using SettingsDialogRun = DatabaseRun;

std::string LineStartingWith(const std::vector<std::string>& lines, const std::string& prefix) {
    for (const auto& line : lines)
        if (line.rfind(prefix, 0) == 0)
            return line;
    return {};
}

TEST_F(SettingsDialogRun, IndexingIsSwitchedOnThroughTheDialogAndItsStatusFollowsThePass) {
    const auto made = testing_support::RunProgram(
        testing_support::InstalledEngines::ProgramFolder() + L"zrb.exe sample \"" +
        std::wstring(data.path().begin(), data.path().end()) + L"\" --mails 400 --seed 7");
    ASSERT_EQ(made.exitCode, 0u) << made.output;
    // Without the roster, which the dialog would propose, the mail file is the one database.
    ASSERT_TRUE(DeleteFileA(data.file("roster.zrb").c_str()));
    WriteClientSettings(data, "DesktopSearchInstallInstructions=1\r\n");
    const std::string mail = data.file("mail.zrb");
    const std::string script = "check IDC_ENABLE, answer yes, click IDC_ADD, file " + mail +
                               ", click IDC_APPLY, wait IDC_STATUS, log IDC_PROCESSING, "
                               "log IDC_STATUS, click IDC_OK";
    const ClientRun run = RunClient(data, "--seconds 1 --menu 0 --dialog \"" + script + "\"");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(LineStartingWith(run.logLines, "nltamsel: Dialog script stopped"), "");
    EXPECT_EQ(LineStartingWith(run.logLines, "nltamsel: Dialog control IDC_PROCESSING: "),
              "nltamsel: Dialog control IDC_PROCESSING: Processing: " + mail);
    const std::string status =
        LineStartingWith(run.logLines, "nltamsel: Dialog control IDC_STATUS: ");
    EXPECT_EQ(status.rfind("nltamsel: Dialog control IDC_STATUS: Status: Indexing document ", 0),
              0u)
        << status;
    EXPECT_NE(status.find("%)"), std::string::npos) << status;
    const std::string settings = testing_support::ReadFileText(data.file("tamsel.ini"));
    EXPECT_NE(settings.find("DesktopSearchIndexEnabled=1"), std::string::npos) << settings;
    EXPECT_NE(settings.find("DesktopSearchFilePath=" + mail), std::string::npos) << settings;
}

} // namespace
