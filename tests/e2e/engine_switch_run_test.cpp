// Each of the engines' failure switches set during a run of the client: what the pass says, and
// that once the engine works again the next run leaves nothing missing.
#include "database_run.h"
#include "file_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

using nlohmann::json;

class EngineSwitchRun : public DatabaseRun {
  protected:
    void SetUp() override {
        const auto made = testing_support::RunProgram(
            testing_support::InstalledEngines::ProgramFolder() + L"zrb.exe sample \"" +
            Wide(data.path()) + L"\" --mails 12 --seed 5");
        ASSERT_EQ(made.exitCode, 0u) << made.output;
    }
    // A fresh settings file: no time stamp, so the next run indexes the whole database.
    void Settings(const std::string& more) {
        WriteClientSettings(data, "DesktopSearchIndexEnabled=1\r\nDesktopSearchWaitTime=0\r\n"
                                  "DesktopSearchInstallInstructions=1\r\n"
                                  "DesktopSearchFilePath=mail.zrb\r\n" +
                                      more);
    }
    json Verified() const {
        const auto run = engines.Zsearch(L"--json verify --data \"" + Wide(data.path()) + L"\"");
        const auto report = json::parse(run.output, nullptr, false);
        return report.is_discarded() ? json(run.output) : report["total"];
    }
    std::string TimeStamp() const {
        const std::string settings = testing_support::ReadFileText(data.file("tamsel.ini"));
        const std::string name = "\nDesktopSearchTimestamp=";
        const size_t at = settings.find(name);
        if (at == std::string::npos)
            return "";
        const size_t from = at + name.size();
        return settings.substr(from, settings.find('\r', from) - from);
    }
    static bool IsRecoveryPoint(const std::string& stamp) {
        return stamp.find('|') != std::string::npos;
    }
    static bool SaidInLog(const ClientRun& run, const std::string& part) {
        return std::any_of(run.logLines.begin(), run.logLines.end(), [&](const std::string& line) {
            return line.find(part) != std::string::npos;
        });
    }
};

const json nothingWrong = {
    {"missing", 0}, {"stale", 0}, {"ghost", 0}, {"duplicate", 0}, {"pending", 0}};

// Run with debug logging, so that the log names the cause; the summary line alone is the same
// for all of them.
TEST_F(EngineSwitchRun, EachFailureIsNamedAndNothingIsLostOnceTheEngineWorksAgain) {
    using Engines = testing_support::InstalledEngines;
    const struct {
        const char* name;
        const wchar_t* value;
        DWORD setting;
        const char* logged;
        bool recoveryPoint; // an interrupted walk, resumed where it stopped
    } cases[] = {
        {"service stopped", L"ServiceStopped", 1, "ODS not installed/running", false},
        {"component disabled", L"ComponentDisabled", 1, "ODS not installed/running", false},
        {"indexing paused", L"IndexingPaused", 1, "ODS paused", false},
        {"send delayed", L"FailSendCode", 0x8004000C, "tdEvent->Send: 8004000C", true},
        {"send refused after 5", L"FailSendFrom", 5, "tdEvent->Send: 80040009", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(engines.Zsearch(L"reset").exitCode, 0u);
        Settings("DesktopSearchDebug=1\r\n");
        if (std::wstring(c.value) == L"FailSendFrom")
            Engines::SetSwitch(L"FailSendCode", 0x80040009);
        Engines::SetSwitch(c.value, c.setting);
        const ClientRun failing = Index("--seconds 4 --menu 0");
        EXPECT_TRUE(SaidInLog(failing, c.logged)) << failing.output;
        EXPECT_EQ(IsRecoveryPoint(TimeStamp()), c.recoveryPoint) << TimeStamp();
        EXPECT_FALSE(!TimeStamp().empty() && !IsRecoveryPoint(TimeStamp()))
            << "no pass is complete: " << TimeStamp();

        Engines::ClearSwitches();
        Index("--seconds 4 --menu 0");
        EXPECT_FALSE(TimeStamp().empty() || IsRecoveryPoint(TimeStamp())) << TimeStamp();
        EXPECT_EQ(Verified(), nothingWrong);
    }
}

// A document the engine refuses as too large is skipped for good, as the engine's own limit
// does not change; verify still names each of them as missing from the index.
TEST_F(EngineSwitchRun, DocumentsTooLargeForTheEngineAreSkippedAndVerifyNamesThem) {
    Settings("DesktopSearchDebug=1\r\n");
    testing_support::InstalledEngines::SetSwitch(L"MaxEventBytes", 2000);
    const ClientRun run = Index("--seconds 4 --menu 0");
    int skipped = 0;
    for (const std::string& line : run.logLines)
        if (const size_t at = line.find("Tamsel skipped:"); at != std::string::npos)
            skipped = std::atoi(line.c_str() + at + 15);
    EXPECT_GT(skipped, 0) << run.output;
    EXPECT_FALSE(TimeStamp().empty() || IsRecoveryPoint(TimeStamp())) << "the pass is complete";
    EXPECT_EQ(Verified()["missing"], skipped);
    EXPECT_GT(Listed().size(), 0u) << "the smaller ones are in the index";
}

} // namespace
