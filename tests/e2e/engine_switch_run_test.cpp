// Each of the engines' failure switches set during a run of the client: what the pass says, and
// that once the engine works again the next run leaves nothing missing.
#include "database_run.h"
#include "file_text.h"
#include "unique_resource.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

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
    win32::UniqueKey classes;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID", 0, KEY_READ, classes.put()),
              ERROR_SUCCESS);
    const std::wstring folder = testing_support::InstalledEngines::ProgramFolder();
    wchar_t name[256];
    for (DWORD index = 0, length = 256; RegEnumKeyExW(classes.get(), index, name, &length, nullptr,
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
}

class EngineSwitchRun : public DatabaseRun {
  protected:
    void SetUp() override { MakeSampleMailFile(12, 5); }
};

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
        MailFileSettings("DesktopSearchDebug=1\r\n");
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
        EXPECT_EQ(VerifiedTotals(), nothingWrong);
    }
}

// A document the engine refuses as too large is skipped for good, as the engine's own limit
// does not change; verify still names each of them as missing from the index. The summary
// counts them with debug logging and without.
TEST_F(EngineSwitchRun, DocumentsTooLargeForTheEngineAreSkippedAndVerifyNamesThem) {
    const struct {
        const char* settings;
        const char* summary; // how the summary line starts
    } cases[] = {
        {"DesktopSearchDebug=1\r\n", "TamselODSPlugin("},
        {"", "TamselDesktopSearchPlugin("},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.summary);
        ASSERT_EQ(engines.Zsearch(L"reset").exitCode, 0u);
        DeleteFileA(data.file("tamsel.log").c_str()); // each run's lines alone
        MailFileSettings(c.settings);
        testing_support::InstalledEngines::SetSwitch(L"MaxEventBytes", 2000);
        const ClientRun run = Index("--seconds 4 --menu 0");
        int skipped = 0;
        for (const std::string& line : run.logLines)
            if (const size_t at = line.find("Tamsel skipped:"); at != std::string::npos) {
                EXPECT_EQ(line.rfind(c.summary, 0), 0u) << line;
                skipped = std::atoi(line.c_str() + at + 15);
            }
        EXPECT_GT(skipped, 0) << run.output;
        EXPECT_FALSE(TimeStamp().empty() || IsRecoveryPoint(TimeStamp())) << "the pass is complete";
        EXPECT_EQ(VerifiedTotals()["missing"], skipped);
        EXPECT_GT(Listed().size(), 0u) << "the smaller ones are in the index";
    }
}

// The engine's state lines of a run: said when indexing starts to wait and when it goes on.
std::vector<std::string> EngineStateLines(const ClientRun& run) {
    std::vector<std::string> said;
    for (const std::string& line : run.logLines)
        if (line.rfind("TamselODSPlugin: Indexing waits: ", 0) == 0 ||
            line.find(" ready: indexing goes on") != std::string::npos)
            said.push_back(line);
    return said;
}

std::string DialogLine(const ClientRun& run, const std::string& control) {
    const std::string prefix = "nltamsel: Dialog control " + control + ": ";
    for (const std::string& line : run.logLines)
        if (line.rfind(prefix, 0) == 0)
            return line.substr(prefix.size());
    return "<not logged>";
}

// Without debug logging, as a user runs it: the log says once why nothing is indexed, though
// the dialog's opening and its OK each run a cycle, and the dialog's status line says it too.
TEST_F(EngineSwitchRun, WithoutDebugLoggingTheLogAndTheDialogSayWhyNothingIsIndexed) {
    using Engines = testing_support::InstalledEngines;
    const struct {
        const char* name;
        std::function<void()> set;
        const char* logged;
        const char* shown;
    } cases[] = {
        {"service stopped", [] { Engines::SetSwitch(L"ServiceStopped", 1); },
         "Zendri Desktop Search service not running", "Zendri Desktop Search is not running."},
        {"indexing paused", [] { Engines::SetSwitch(L"IndexingPaused", 1); },
         "Zendri Desktop Search indexing paused", "Zendri Desktop Search has paused indexing."},
        {"component disabled", [] { Engines::SetSwitch(L"ComponentDisabled", 1); },
         "component disabled in Zendri Desktop Search",
         "The Velmora Tamsel component is disabled in Zendri Desktop Search."},
        {"no engine registered", [] { RegisterEngines(L"/u "); }, "search engine not installed",
         "Zendri Desktop Search is not installed."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileA(data.file("tamsel.log").c_str()); // each run's lines alone
        MailFileSettings("");
        c.set();
        const std::string shown = std::string("Status: ") + c.shown;
        const ClientRun run = Index("--seconds 1 --menu 0 --dialog \"wait IDC_STATUS " + shown +
                                    ", log IDC_STATUS, click IDC_OK\"");
        EXPECT_EQ(
            EngineStateLines(run),
            std::vector<std::string>{std::string("TamselODSPlugin: Indexing waits: ") + c.logged});
        EXPECT_EQ(DialogLine(run, "IDC_STATUS"), shown);
        EXPECT_EQ(TimeStamp(), "") << "nothing was indexed";
        Engines::ClearSwitches();
        RegisterEngines(L"");
    }
}

// The engine starts again while the client runs: the log says so once, and the next cycle
// indexes everything.
TEST_F(EngineSwitchRun, AnEngineThatStartsAgainIsSaidOnceAndIndexedInto) {
    using Engines = testing_support::InstalledEngines;
    MailFileSettings("");
    Engines::SetSwitch(L"ServiceStopped", 1);
    const std::string stopped =
        "TamselODSPlugin: Indexing waits: Zendri Desktop Search service not running";
    std::thread starter([&] {
        for (int tries = 0; tries < 1200; ++tries, Sleep(50))
            if (testing_support::ReadFileText(data.file("tamsel.log")).find(stopped) !=
                std::string::npos)
                break;
        Engines::ClearSwitches();
    });
    // The switch is off well before the reindex box and Apply wake the indexing thread again.
    const ClientRun run =
        Index("--seconds 2 --menu 0 --dialog \"wait IDC_STATUS Status: Zendri Desktop Search is "
              "not running, pause 2000, check IDC_REINDEX_ALL, click IDC_APPLY, pause 4000, "
              "click IDC_OK\"");
    starter.join();
    EXPECT_EQ(EngineStateLines(run),
              (std::vector<std::string>{
                  stopped, "TamselODSPlugin: Zendri Desktop Search ready: indexing goes on"}));
    EXPECT_FALSE(TimeStamp().empty() || IsRecoveryPoint(TimeStamp())) << TimeStamp();
    EXPECT_EQ(VerifiedTotals(), nothingWrong);
}

} // namespace
