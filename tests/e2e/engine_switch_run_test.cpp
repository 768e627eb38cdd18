// Each of the engines' failure switches set during a run of the client: what the pass says, and
// that once the engine works again the next run leaves nothing missing.
#include "database_run.h"
#include "file_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

namespace {

using nlohmann::json;

const wchar_t* const engineDlls[] = {L"ZendriDS.dll", L"OrvennaDesktop.dll"};

void RegisterEngines(const std::wstring& how) {
    for (const wchar_t* dll : engineDlls)
        testing_support::RunProgram(L"regsvr32.exe /s " + how + L"\"" +
                                    testing_support::InstalledEngines::ProgramFolder() + dll +
                                    L"\"");
}

// Half an installation: the engines' classes stay registered, but name a DLL that is not there.
void PointEngineClassesAt(const std::wstring& missing) {
    HKEY classes = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID", 0, KEY_READ, &classes), ERROR_SUCCESS);
    const std::wstring folder = testing_support::InstalledEngines::ProgramFolder();
    wchar_t name[256];
    for (DWORD index = 0, length = 256; RegEnumKeyExW(classes, index, name, &length, nullptr,
                                                      nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++index, length = 256) {
        const std::wstring server = std::wstring(L"CLSID\\") + name + L"\\InprocServer32";
        wchar_t path[MAX_PATH + 1] = {};
        DWORD bytes = sizeof path - sizeof(wchar_t);
        if (RegGetValueW(HKEY_CLASSES_ROOT, server.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, path,
                         &bytes) != ERROR_SUCCESS)
            continue;
        for (const wchar_t* dll : engineDlls)
            if (_wcsicmp(path, (folder + dll).c_str()) == 0) {
                const std::wstring moved = folder + missing;
                RegSetKeyValueW(HKEY_CLASSES_ROOT, server.c_str(), nullptr, REG_SZ, moved.c_str(),
                                DWORD((moved.size() + 1) * sizeof(wchar_t)));
            }
    }
    RegCloseKey(classes);
}

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
    const auto switchOn = [](const wchar_t* name, DWORD value) {
        return [=] { Engines::SetSwitch(name, value); };
    };
    const struct {
        const char* name;
        std::function<void()> set;
        const char* logged;
        bool recoveryPoint; // an interrupted walk, resumed where it stopped
    } cases[] = {
        {"service stopped", switchOn(L"ServiceStopped", 1), "ODS not installed/running", false},
        {"component disabled", switchOn(L"ComponentDisabled", 1), "ODS not installed/running",
         false},
        {"indexing paused", switchOn(L"IndexingPaused", 1), "ODS paused", false},
        {"send delayed", switchOn(L"FailSendCode", 0x8004000C), "tdEvent->Send: 8004000C", true},
        {"service stopped after 5 sends",
         [] {
             Engines::SetSwitch(L"FailSendCode", 0x80040009);
             Engines::SetSwitch(L"FailSendFrom", 5);
         },
         "tdEvent->Send: 80040009", true},
        {"no engine registered", [] { RegisterEngines(L"/u "); }, "ODS not installed/running",
         false},
        {"engine DLLs missing", [] { PointEngineClassesAt(L"missing-engine.dll"); },
         "ODS not installed/running", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(engines.Zsearch(L"reset").exitCode, 0u);
        Settings("DesktopSearchDebug=1\r\n");
        c.set();
        const ClientRun failing = Index("--seconds 4 --menu 0");
        EXPECT_TRUE(SaidInLog(failing, c.logged)) << failing.output;
        EXPECT_EQ(IsRecoveryPoint(TimeStamp()), c.recoveryPoint) << TimeStamp();
        EXPECT_FALSE(!TimeStamp().empty() && !IsRecoveryPoint(TimeStamp()))
            << "no pass is complete: " << TimeStamp();

        Engines::ClearSwitches();
        RegisterEngines(L"");
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
