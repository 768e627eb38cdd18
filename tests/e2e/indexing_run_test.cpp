#include "database_run.h"
#include "file_text.h"
#include "installed_engines.h"
#include "unique_resource.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

std::vector<std::string> StartingWith(const std::vector<std::string>& lines,
                                      const std::string& prefix) {
    std::vector<std::string> found;
    for (const auto& line : lines)
        if (line.rfind(prefix, 0) == 0)
            found.push_back(line);
    return found;
}

std::string SettingsText(const testing_support::TempDir& data) {
    return testing_support::ReadFileText(data.file("tamsel.ini"));
}

// The sample data directory of the zrb tool, with the client's settings for indexing two of
// its databases.
void MakeSampleData(const testing_support::TempDir& data, const std::string& settings) {
    const auto made = testing_support::RunProgram(
        testing_support::InstalledEngines::ProgramFolder() + L"zrb.exe sample \"" +
        std::wstring(data.path().begin(), data.path().end()) + L"\" --mails 30 --seed 7");
    ASSERT_EQ(made.exitCode, 0u) << made.output;
    WriteClientSettings(data,
                        "DesktopSearchIndexEnabled=1\r\nDesktopSearchWaitTime=0\r\n"
                        "DesktopSearchInstallInstructions=1\r\n"
                        "DesktopSearchFilePath=mail.zrb\r\nDesktopSearchFilePath1=journal.zrb\r\n" +
                            settings);
}

// The real client, plug-in and engines; the client's log is shown when a test fails.
using IndexingRun = DatabaseRun;

TEST_F(IndexingRun, AWakeRequestIndexesEveryDatabaseAndRecordsHowFar) {
    MakeSampleData(data, "DesktopSearchDebug=1\r\n");
    const ClientRun run = RunClient(data, "--seconds 8 --menu 0");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const auto& log = run.logLines;
    EXPECT_TRUE(Contains(log, "TamselODSPlugin: Starting Indexing Loop"));
    for (const std::string database : {"mail.zrb", "journal.zrb"}) {
        SCOPED_TRACE(database);
        EXPECT_TRUE(Contains(log, "TamselODSPlugin: Opened file: " + database));
        EXPECT_EQ(StartingWith(log, "TamselODSPlugin(" + database + "): Tamsel indexed:").size(),
                  1u);
    }
    EXPECT_EQ(StartingWith(log, "TamselODSPlugin: Starting file index... since:").size(), 2u);
    const std::string settings = SettingsText(data);
    for (const std::string variable : {"DesktopSearchTimestamp=", "DesktopSearchTimestamp1="}) {
        const size_t at = settings.find("\n" + variable);
        ASSERT_NE(at, std::string::npos) << variable << " in\n" << settings;
        EXPECT_NE(settings[at + 1 + variable.size()], '\r') << "a time stamp, not an empty value";
    }
}

// With the log and the settings file that cannot be written, the client says so on standard
// error and in a box, and the plug-in that its time stamps are lost.
TEST_F(IndexingRun, WritesTheDataFolderRefusesAreReportedNotLost) {
    MakeSampleData(data, "");
    testing_support::WriteFileText(data.file("tamsel.log"), "");
    std::vector<win32::UniqueFile> holders;
    for (const char* file : {"tamsel.log", "tamsel.ini"})
        holders.emplace_back(CreateFileA(data.file(file).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                         nullptr, OPEN_EXISTING, 0, nullptr));
    const ClientRun run = RunClient(data, "--seconds 8 --menu 0");
    holders.clear();
    ASSERT_EQ(run.exitCode, 0) << run.output;
    for (const std::string& said :
         {"nltamsel: cannot write " + data.file("tamsel.log"),
          "nltamsel: cannot write " + data.file("tamsel.ini"),
          "The client cannot write " + data.file("tamsel.ini"),
          std::string("TamselODSPlugin(mail.zrb): How far the database is indexed could not be "
                      "saved: its changes will be indexed again")})
        EXPECT_NE(run.output.find(said), std::string::npos) << said << "\n" << run.output;
    EXPECT_EQ(testing_support::ReadFileText(data.file("tamsel.log")), "");
}

TEST_F(IndexingRun, TheNextStartFindsNothingNewAndLogsNoSummary) {
    MakeSampleData(data, "");
    const ClientRun first = RunClient(data, "--seconds 6 --menu 0");
    ASSERT_EQ(first.exitCode, 0);
    const auto summaries = StartingWith(first.logLines, "TamselDesktopSearchPlugin(");
    EXPECT_EQ(summaries.size(), 2u) << "the mails and the journal entries";
    const std::string stamped = SettingsText(data);
    const ClientRun again = RunClient(data, "--seconds 6 --menu 0");
    ASSERT_EQ(again.exitCode, 0) << again.output;
    EXPECT_EQ(StartingWith(again.logLines, "TamselDesktopSearchPlugin("), summaries)
        << "the log holds both runs: the second added no summary";
    const auto stampOf = [](const std::string& text) {
        const size_t at = text.find("\nDesktopSearchTimestamp=");
        return at == std::string::npos ? std::string() : text.substr(at, text.find('\r', at) - at);
    };
    EXPECT_FALSE(stampOf(stamped).empty());
    EXPECT_EQ(stampOf(SettingsText(data)), stampOf(stamped)) << "nothing changed since";
}

} // namespace
