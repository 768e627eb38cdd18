#include "engine/result_names.h"
#include "file_text.h"
#include "idl/engine_results.h"
#include "indexing/database_pass.h"
#include "plugin_fixture.h"
#include "scripted_notes.h"
#include "settings/client_settings.h"
#include "settings/database_list.h"
#include "state/index_status.h"
#include "state/thread_flags.h"
#include "test_database.h"
#include "unique_resource.h"
#include "virtual_time.h"

#include <algorithm>
#include <cstdio>
#include <map>

using namespace tamsel;
using Answer = ScriptedNotes::Answer;

namespace {

// The database numbers its notes 4, 8, 12, ...
constexpr NOTEID Note(int n) {
    return NOTEID(4 * n);
}

std::vector<NOTEID> Notes(int first, int last) {
    std::vector<NOTEID> ids;
    for (int n = first; n <= last; ++n)
        ids.push_back(Note(n));
    return ids;
}

std::string Hex(DWORD value) {
    char text[16];
    std::snprintf(text, sizeof text, "%lX", static_cast<unsigned long>(value));
    return text;
}

class DatabasePass : public PluginTest {
  protected:
    void SetUp() override {
        PluginTest::SetUp();
        VirtualTime::Install();
        lastHistoryCheckTick = VirtualTime::now;
        ScriptedNotes::Install();
        UseSettings("DesktopSearchIndexEnabled=1\nDesktopSearchWaitTime=0\n");
        SetSlotPath(0, mail.path().c_str());
    }
    void TearDown() override {
        VirtualTime::Uninstall();
        PluginTest::TearDown();
    }
    void Settings(const std::string& lines) {
        const bool waitGiven = lines.find("DesktopSearchWaitTime=") != std::string::npos;
        UseSettings("DesktopSearchIndexEnabled=1\n" +
                    (waitGiven ? lines : "DesktopSearchWaitTime=0\n" + lines));
        SetSlotPath(0, mail.path().c_str());
    }
    std::vector<std::string> LinesStartingWith(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const auto& line : LogLines())
            if (line.rfind(prefix, 0) == 0)
                found.push_back(line);
        return found;
    }
    std::string Summary() const {
        return "TamselDesktopSearchPlugin(" + mail.path() + "): Tamsel indexed:";
    }
    std::string DebugSummary() const {
        return "TamselODSPlugin(" + mail.path() + "): Tamsel indexed:";
    }
    std::string StampVariable() const {
        char text[300];
        return StoreGetEnvString("DesktopSearchTimestamp", text, sizeof text) ? text : "";
    }
    bool HasResumePoint(NOTEID* id = nullptr) const { return GetResumePoint(0, nullptr, id); }

    TestDatabase mail{dir.file("mail.zrb")};
};

TEST_F(DatabasePass, FirstPassSendsEveryNoteAndTheNextFindsNothing) {
    mail.AddMemos(3);
    PassOverSlot(0, 0);
    EXPECT_EQ(ScriptedNotes::converted, Notes(1, 3));
    EXPECT_TRUE(ScriptedNotes::contexts.front().initialPass);
    EXPECT_NE(ScriptedNotes::contexts.front().unreadTable, 0u);
    EXPECT_EQ(LinesStartingWith(Summary()), std::vector<std::string>{Summary() + "3"});
    STORETIME last;
    EXPECT_TRUE(GetLastIndexed(0, &last));
    EXPECT_FALSE(StampVariable().empty());
    EXPECT_EQ(StampVariable().find('|'), std::string::npos);
    IndexStatus status;
    GetIndexStatus(&status);
    EXPECT_EQ(status.total, 3u);
    EXPECT_EQ(status.processed, 3u);
    EXPECT_TRUE(status.upToDate);
    EXPECT_FALSE(status.passRunning);

    indexStatus.upToDate = 0;
    PassOverSlot(0, 0);
    EXPECT_EQ(ScriptedNotes::converted.size(), 3u) << "nothing modified since";
    EXPECT_EQ(LinesStartingWith(Summary()).size(), 1u) << "no summary when nothing was modified";
    EXPECT_TRUE(indexStatus.upToDate);

    mail.AddMemo("Later");
    PassOverSlot(0, 0);
    EXPECT_EQ(ScriptedNotes::converted, Notes(1, 4));
    EXPECT_FALSE(ScriptedNotes::contexts.back().initialPass);
}

TEST_F(DatabasePass, ProgressIsVisibleWhileTheWalkRuns) {
    mail.AddMemos(4);
    std::vector<IndexStatus> seen;
    ScriptedNotes::onNote = [&](NOTEID) {
        IndexStatus status;
        GetIndexStatus(&status);
        seen.push_back(status);
    };
    PassOverSlot(0, 0);
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[2].processed, 3u);
    EXPECT_EQ(seen[2].total, 4u);
    EXPECT_TRUE(seen[2].passRunning);
    EXPECT_FALSE(seen[2].upToDate);
    EXPECT_FALSE(seen[2].resumePending);
    EXPECT_EQ(seen[2].currentSlot, 0);
}

TEST_F(DatabasePass, AStopLeavesARecoveryPointAndTheNextPassResumesThere) {
    mail.AddMemos(50);
    ScriptedNotes::onNote = [](NOTEID id) {
        if (id == Note(9))
            stopRequested = true;
    };
    PassOverSlot(0, 0);
    EXPECT_EQ(ScriptedNotes::converted, Notes(1, 9));
    NOTEID resumeAt = 0;
    ASSERT_TRUE(HasResumePoint(&resumeAt));
    EXPECT_EQ(resumeAt, 0x28u);
    LONG processed = 0, total = 0;
    ASSERT_TRUE(GetSavedProgress(0, &processed, &total));
    EXPECT_EQ(processed, 10);
    EXPECT_EQ(total, 50);
    EXPECT_TRUE(indexStatus.resumePending);
    EXPECT_NE(StampVariable().find("|40|10|50"), std::string::npos) << StampVariable();

    stopRequested = false;
    ScriptedNotes::onNote = nullptr;
    ScriptedNotes::converted.clear();
    LoadSettings(); // as after a restart of the client
    PassOverSlot(0, 0);
    EXPECT_EQ(ScriptedNotes::converted, Notes(10, 50)) << "the note it stopped at comes again";
    EXPECT_TRUE(ScriptedNotes::contexts.back().initialPass) << "the same since-time as before";
    EXPECT_EQ(indexStatus.processed, 50u) << "skipped notes still count";
    EXPECT_FALSE(HasResumePoint());
    EXPECT_FALSE(indexStatus.resumePending);
    EXPECT_TRUE(indexStatus.upToDate);
}

TEST_F(DatabasePass, DeletionStubsAreNeverSkippedByARecoveryPoint) {
    mail.AddMemos(10);
    mail.Delete(Note(3));
    ScriptedNotes::onNote = [](NOTEID id) {
        if (id == Note(7))
            stopRequested = true;
    };
    PassOverSlot(0, 0);
    EXPECT_TRUE(ScriptedNotes::deletions.empty());
    stopRequested = false;
    ScriptedNotes::converted.clear();
    PassOverSlot(0, 0);
    EXPECT_EQ(ScriptedNotes::converted, Notes(8, 10));
    EXPECT_EQ(ScriptedNotes::deletions, std::vector<NOTEID>{Note(3)})
        << "sent without the deletion bit";
}

TEST_F(DatabasePass, DeletionsAreLeftAloneWhenSwitchedOffAndCountedWhenSent) {
    mail.AddMemos(2);
    mail.Delete(Note(1));
    Settings("DesktopSearchNoDelete=1\nDesktopSearchDebug=1\n");
    PassOverSlot(0, 0);
    EXPECT_TRUE(ScriptedNotes::deletions.empty());
    EXPECT_EQ(LinesStartingWith(DebugSummary()),
              std::vector<std::string>{
                  DebugSummary() + "1  Tamsel skipped:0  Zendri error/total:0/0  Tamsel errors:0"});
}

TEST_F(DatabasePass, ConvertersAnswersAreCountedAsTheyCome) {
    Settings("DesktopSearchDebug=1\n");
    mail.AddMemos(6);
    ScriptedNotes::answers[Note(2)] = {false, S_OK, STORE_ERR_STUB};    // deleted meanwhile
    ScriptedNotes::answers[Note(3)] = {false, S_OK, STORE_ERR_NO_NOTE}; // a client failure
    ScriptedNotes::answers[Note(4)] = {false, S_OK, 0};                 // no converter takes it
    ScriptedNotes::answers[Note(5)] = ScriptedNotes::Failure(engine_results::E_EVENT_TOO_LARGE);
    ScriptedNotes::answers[Note(6)] = ScriptedNotes::Failure(engine_results::E_PROPERTY_TOO_LARGE);
    PassOverSlot(0, 0);
    EXPECT_EQ(ScriptedNotes::converted, Notes(1, 6)) << "too large is no reason to stop";
    EXPECT_EQ(LinesStartingWith(DebugSummary()),
              std::vector<std::string>{
                  DebugSummary() + "1  Tamsel skipped:3  Zendri error/total:0/2  Tamsel errors:1"});
    EXPECT_FALSE(HasResumePoint());
}

struct SkippedCase {
    const char* name;
    std::map<int, Answer> answers; // by note number, of four
    std::string summaryEnd;        // the summary without debug logging, after "Tamsel indexed:"
};

TEST_F(DatabasePass, SkippedNotesAreCountedInThePlainSummary) {
    const Answer eventTooLarge = ScriptedNotes::Failure(engine_results::E_EVENT_TOO_LARGE);
    const Answer propertyTooLarge = ScriptedNotes::Failure(engine_results::E_PROPERTY_TOO_LARGE);
    const SkippedCase cases[] = {
        {"nothing skipped", {}, "4"},
        {"two too large", {{2, eventTooLarge}, {3, propertyTooLarge}}, "2  Tamsel skipped:2"},
        {"every one too large",
         {{1, eventTooLarge}, {2, eventTooLarge}, {3, propertyTooLarge}, {4, eventTooLarge}},
         "0  Tamsel skipped:4"},
        {"one no converter took", {{1, {false, S_OK, 0}}}, "3  Tamsel skipped:1"},
        {"too large, then the engine stopped",
         {{1, eventTooLarge}, {3, ScriptedNotes::Failure(engine_results::E_SERVICE_NOT_RUNNING)}},
         "1  Tamsel skipped:1  Zendri error:80040009"},
    };
    for (const SkippedCase& c : cases) {
        SCOPED_TRACE(c.name);
        TestDatabase database(dir.file("pass" + std::to_string(&c - cases) + ".zrb"));
        database.AddMemos(4);
        SetSlotPath(0, database.path().c_str());
        SaveSlotState(0, nullptr, nullptr, 0, 0, 0);
        ScriptedNotes::Install();
        for (const auto& [n, answer] : c.answers)
            ScriptedNotes::answers[Note(n)] = answer;
        PassOverSlot(0, 0);
        const std::string prefix =
            "TamselDesktopSearchPlugin(" + database.path() + "): Tamsel indexed:";
        EXPECT_EQ(LinesStartingWith(prefix), std::vector<std::string>{prefix + c.summaryEnd});
    }
}

struct EngineStopCase {
    HRESULT result;
    DWORD cookie;
    std::string summaryEnd; // the summary without debug logging, after "Tamsel indexed:"
    DWORD nextWait;
};

TEST_F(DatabasePass, EngineFailuresStopTheWalkAndTheNextPassResumesAtTheFailingNote) {
    const EngineStopCase cases[] = {
        {engine_results::E_SEND_DELAYED, 5000, "2", 5000},
        {engine_results::S_INDEXING_PAUSED, 0, "2", 0},
        {engine_results::E_SERVICE_NOT_RUNNING, 0, "2  Zendri error:80040009", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Hex(DWORD(c.result)));
        TestDatabase database(dir.file(Hex(DWORD(c.result)) + ".zrb"));
        database.AddMemos(5);
        SetSlotPath(0, database.path().c_str());
        SaveSlotState(0, nullptr, nullptr, 0, 0, 0);
        ScriptedNotes::Install();
        ScriptedNotes::answers[Note(3)] = ScriptedNotes::Failure(c.result, c.cookie, true);
        nextWaitMs = 77;
        PassOverSlot(0, 0);
        EXPECT_EQ(ScriptedNotes::converted, Notes(1, 3));
        NOTEID resumeAt = 0;
        EXPECT_TRUE(HasResumePoint(&resumeAt));
        EXPECT_EQ(resumeAt, Note(3));
        EXPECT_EQ(nextWaitMs, c.nextWait);
        const std::string prefix =
            "TamselDesktopSearchPlugin(" + database.path() + "): Tamsel indexed:";
        EXPECT_EQ(LinesStartingWith(prefix), std::vector<std::string>{prefix + c.summaryEnd});

        PassOverSlot(0, 0);
        EXPECT_EQ(ScriptedNotes::converted,
                  (std::vector<NOTEID>{Note(1), Note(2), Note(3), Note(3), Note(4), Note(5)}));
        EXPECT_FALSE(HasResumePoint());
    }
}

TEST_F(DatabasePass, DebugLoggingNamesTheEngineFailure) {
    Settings("DesktopSearchDebug=1\n");
    mail.AddMemos(2);
    ScriptedNotes::answers[Note(2)] = ScriptedNotes::Failure(engine_results::E_COMPONENT_DISABLED);
    PassOverSlot(0, 0);
    const auto lines = LinesStartingWith("TamselODSPlugin: Zendri error hr:");
    ASSERT_EQ(lines.size(), 1u);
    const std::string named = std::string("TamselODSPlugin: Zendri error hr:80040005 name:") +
                              EngineResultName(engine_results::E_COMPONENT_DISABLED);
    EXPECT_EQ(lines[0].substr(0, named.size()), named);
    EXPECT_NE(lines[0].find("(11779)"), std::string::npos) << lines[0];
    EXPECT_EQ(LinesStartingWith("TamselODSPlugin: Recovery requested for next loop.").size(), 1u);
    EXPECT_EQ(LinesStartingWith(DebugSummary()).size(), 1u);
}

TEST_F(DatabasePass, RemovingTheDatabaseMidPassKeepsItsTimeStampAndDropsTheRecoveryPoint) {
    mail.AddMemos(8);
    PassOverSlot(0, 0);
    const std::string firstStamp = StampVariable();
    mail.AddMemos(8);
    ScriptedNotes::onNote = [](NOTEID id) {
        if (id == Note(11))
            stopRequested = true;
    };
    PassOverSlot(0, 0);
    ASSERT_TRUE(HasResumePoint());
    stopRequested = false;
    ScriptedNotes::converted.clear();
    ScriptedNotes::onNote = [&](NOTEID id) {
        if (id == Note(13))
            SetSlotPath(0, nullptr);
    };
    PassOverSlot(0, 0);
    EXPECT_EQ(ScriptedNotes::converted, Notes(12, 13));
    EXPECT_FALSE(HasResumePoint());
    EXPECT_FALSE(indexStatus.upToDate);
    EXPECT_FALSE(indexStatus.resumePending);
    EXPECT_EQ(LinesStartingWith("TamselDesktopSearchPlugin(): Tamsel indexed:2").size(), 1u);
    EXPECT_EQ(StampVariable(), firstStamp);
}

TEST_F(DatabasePass, ThrottleRestsInProportionToTheWaitTime) {
    mail.AddMemos(12);
    const std::pair<const char*, size_t> cases[] = {{"0", 0}, {"20", 2}, {"30", 4}, {"70", 12}};
    for (const auto& [wait, rests] : cases) {
        Settings(std::string("DesktopSearchWaitTime=") + wait + "\n");
        SaveSlotState(0, nullptr, nullptr, 0, 0, 0);
        VirtualTime::sleeps.clear();
        PassOverSlot(0, 0);
        EXPECT_EQ(size_t(std::count(VirtualTime::sleeps.begin(), VirtualTime::sleeps.end(), 1000u)),
                  rests)
            << "wait time " << wait;
    }
}

// Bytes overwritten over the start of a record: that note is listed, cannot be opened and is
// counted as an error, rather than missing from the index without a word.
TEST_F(DatabasePass, AnOverwrittenRecordIsCountedAsAnError) {
    mail.AddMemos(3);
    std::string text = testing_support::ReadFileText(mail.path());
    text.replace(text.find("{\"note\":8,"), 100, std::string(100, 'X'));
    testing_support::WriteFileText(mail.path(), text);
    Settings("DesktopSearchDebug=1\n");
    PassOverSlot(0, 0);
    EXPECT_EQ(ScriptedNotes::converted, (std::vector<NOTEID>{Note(1), Note(3)}));
    EXPECT_EQ(LinesStartingWith(DebugSummary()),
              std::vector<std::string>{DebugSummary() +
                                       "2  Tamsel skipped:0  Zendri error/total:0/0  Tamsel "
                                       "errors:1"});
}

TEST_F(DatabasePass, AnOpenFailureIsLoggedOnceUntilReset) {
    const std::string missing = dir.file("missing.zrb");
    SetSlotPath(0, missing.c_str());
    for (int pass = 0; pass < 3; ++pass)
        PassOverSlot(0, 0);
    const std::string line = "TamselODSPlugin: Cannot open file: " + missing;
    EXPECT_EQ(LinesStartingWith(line),
              std::vector<std::string>{line + ": File does not exist (260)"});
    ResetAllSlots();
    resetRequested = false;
    PassOverSlot(0, 0);
    EXPECT_EQ(LinesStartingWith(line).size(), 2u);
    Settings("DesktopSearchDebug=1\n");
    SetSlotPath(0, missing.c_str());
    PassOverSlot(0, 0);
    PassOverSlot(0, 0);
    EXPECT_EQ(LinesStartingWith(line).size(), 4u) << "every time in debug mode";
}

TEST_F(DatabasePass, ADatabaseThatDisappearsIsTakenUpAgainWhereItWas) {
    const std::string path = dir.file("moving.zrb"), away = dir.file("away.zrb");
    TestDatabase(path).AddMemos(3);
    SetSlotPath(0, path.c_str());
    PassOverSlot(0, 0);
    const std::string stamp = StampVariable();
    ASSERT_TRUE(MoveFileA(path.c_str(), away.c_str()));
    PassOverSlot(0, 0);
    EXPECT_EQ(StampVariable(), stamp);
    testing_support::WriteFileText(path, "garbage");
    PassOverSlot(0, 0);
    EXPECT_EQ(StampVariable(), stamp);
    EXPECT_EQ(LinesStartingWith("TamselODSPlugin: Cannot open file: " + path).size(), 1u);
    ASSERT_TRUE(MoveFileExA(away.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING));
    TestDatabase(path, TestDatabase::OpenExisting{}).AddMemo("While away");
    PassOverSlot(0, 0);
    EXPECT_EQ(ScriptedNotes::converted, Notes(1, 4));
}

TEST_F(DatabasePass, AnUnwritableSettingsFileRepeatsWorkRatherThanLosingIt) {
    mail.AddMemos(3);
    win32::UniqueFile holder(CreateFileA(dir.file("tamsel.ini").c_str(), GENERIC_READ,
                                         FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    // A walk to the end, then a pass that finds nothing new: neither state could be saved.
    const std::string notSaved = "TamselODSPlugin(" + mail.path() +
                                 "): How far the database is indexed could not be saved: its "
                                 "changes will be indexed again: Cannot write the settings file "
                                 "(261)";
    for (size_t pass = 1; pass <= 2; ++pass) {
        PassOverSlot(0, 0);
        EXPECT_EQ(LinesStartingWith("TamselODSPlugin(" + mail.path() + "): How far"),
                  std::vector<std::string>(pass, notSaved));
        EXPECT_FALSE(indexStatus.upToDate) << "a pass it could not record is no complete one";
    }
    holder.reset();
    EXPECT_EQ(ScriptedNotes::converted, Notes(1, 3));
    LoadSettings();
    PassOverSlot(0, 0);
    EXPECT_EQ(ScriptedNotes::converted,
              (std::vector<NOTEID>{Note(1), Note(2), Note(3), Note(1), Note(2), Note(3)}));
}

TEST_F(DatabasePass, HistoryPassesLeaveTheProgressRecordAlone) {
    TestDatabase shelf(dir.file("shelf.zrb"));
    shelf.AddMemos(2);
    SetSlotPath(historySlot, shelf.path().c_str());
    indexStatus.currentSlot = 0;
    indexStatus.total = 9;
    std::vector<BYTE> active;
    ScriptedNotes::onNote = [&](NOTEID) { active.push_back(indexStatus.historyActive); };
    ScriptedNotes::answers[Note(1)] = ScriptedNotes::answers[Note(2)] = {false, S_OK, 0};
    PassOverSlot(historySlot, 1);
    EXPECT_EQ(ScriptedNotes::converted, Notes(1, 2));
    EXPECT_TRUE(ScriptedNotes::contexts[0].historyPass);
    EXPECT_EQ(ScriptedNotes::contexts[0].unreadTable, 0u);
    EXPECT_EQ(active, (std::vector<BYTE>{1, 1}));
    EXPECT_EQ(indexStatus.total, 9u);
    EXPECT_FALSE(indexStatus.historyActive);
    STORETIME last;
    EXPECT_TRUE(GetLastIndexed(historySlot, &last));
    EXPECT_TRUE(LinesStartingWith("TamselDesktopSearchPlugin(").empty());
}

TEST_F(DatabasePass, AHistoryPassWalksWhateverSlotTheProgressRecordNames) {
    TestDatabase shelf(dir.file("shelf.zrb"));
    shelf.AddMemos(3);
    SetSlotPath(historySlot, shelf.path().c_str());
    ScriptedNotes::answers[Note(1)] = ScriptedNotes::answers[Note(2)] =
        ScriptedNotes::answers[Note(3)] = {false, S_OK, 0};
    // Right after start-up with the first slot unused, and after a pass over a later slot
    // that was then taken off the list.
    for (const int current : {0, 3}) {
        SetSlotPath(0, "");
        indexStatus.currentSlot = current;
        ScriptedNotes::converted.clear();
        SaveSlotState(historySlot, nullptr, nullptr, 0, 0, 0);
        PassOverSlot(historySlot, 1);
        EXPECT_EQ(ScriptedNotes::converted, Notes(1, 3)) << current;
        STORETIME last;
        EXPECT_TRUE(GetLastIndexed(historySlot, &last)) << "a new time stamp: " << current;
    }
    // Its own database leaving the list still ends it.
    SaveSlotState(historySlot, nullptr, nullptr, 0, 0, 0);
    ScriptedNotes::converted.clear();
    ScriptedNotes::onNote = [&](NOTEID) { SetSlotPath(historySlot, ""); };
    PassOverSlot(historySlot, 1);
    EXPECT_EQ(ScriptedNotes::converted, Notes(1, 1));
}

TEST_F(DatabasePass, AStoredStateNoPassCouldHaveLeftIsDiscardedAndTheDatabaseIndexed) {
    mail.AddMemos(3);
    PassOverSlot(0, 0);
    const std::string stamp = StampVariable(); // the database's own latest change
    const struct {
        std::string state;
        const char* line;
    } cases[] = {
        {"2099-01-01 00:00:00.00 +00:00", "Time stamp 2099-01-01 00:00:00.00 +00:00 is later"},
        {"0|2099-01-01 00:00:00.00 +00:00|2147483647|1|2", "Recovery point discarded"},
        {"0|" + stamp + "|2147483647|1|2", "Recovery point discarded"},
        {"0|" + stamp + "|-5|1|2", "Recovery point discarded"},
    };
    for (const auto& c : cases) {
        ScriptedNotes::converted.clear();
        StoreSetEnvString("DesktopSearchTimestamp", c.state.c_str());
        LoadDatabaseList(); // as after a restart of the client
        PassOverSlot(0, 0);
        EXPECT_EQ(ScriptedNotes::converted, Notes(1, 3)) << c.state;
        const auto discarded = LinesStartingWith("TamselODSPlugin(" + mail.path() + "): ");
        EXPECT_TRUE(!discarded.empty() && discarded.back().find(c.line) != std::string::npos)
            << c.state << ": " << (discarded.empty() ? "no log line" : discarded.back());
        EXPECT_FALSE(HasResumePoint()) << c.state;
        EXPECT_EQ(StampVariable().find("2099"), std::string::npos) << StampVariable();
    }
    // The state a pass leaves is taken as it is.
    ScriptedNotes::converted.clear();
    const size_t lines = LogLines().size();
    LoadDatabaseList();
    PassOverSlot(0, 0);
    EXPECT_TRUE(ScriptedNotes::converted.empty());
    EXPECT_EQ(LogLines().size(), lines);
}

TEST_F(DatabasePass, ASlotGivenToAnotherDatabaseMidPassKeepsNothingOfTheOldOne) {
    mail.AddMemos(5);
    TestDatabase other(dir.file("other.zrb"));
    other.AddMemos(2);
    ScriptedNotes::onNote = [&](NOTEID id) {
        if (id == Note(2))
            SetSlotPath(0, other.path().c_str());
    };
    PassOverSlot(0, 0);
    EXPECT_EQ(ScriptedNotes::converted, Notes(1, 2)) << "the walk ends with the change";
    EXPECT_TRUE(StampVariable().empty()) << StampVariable();
    EXPECT_FALSE(HasResumePoint());

    ScriptedNotes::onNote = nullptr;
    ScriptedNotes::converted.clear();
    PassOverSlot(0, 0);
    EXPECT_EQ(ScriptedNotes::converted, Notes(1, 2)) << "the new database from its beginning";
}

} // namespace
