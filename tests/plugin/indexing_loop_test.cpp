#include "engine_keys.h"
#include "fake_engines.h"
#include "idl/engine_results.h"
#include "indexing/clock.h"
#include "indexing/indexing_loop.h"
#include "plugin_fixture.h"
#include "scripted_notes.h"
#include "settings/database_list.h"
#include "state/index_status.h"
#include "state/thread_flags.h"
#include "test_database.h"
#include "virtual_time.h"

#include <functional>

using namespace tamsel;

namespace {

class IndexingLoop : public PluginTest {
  protected:
    void SetUp() override {
        PluginTest::SetUp();
        VirtualTime::Install();
        lastHistoryCheckTick = VirtualTime::now;
        rotationSlot = 0;
    }
    void TearDown() override {
        VirtualTime::Uninstall();
        PluginTest::TearDown();
    }
    DWORD Elapsed() const { return VirtualTime::now - 0xFFFF0000; }
    // Virtual time at which a log line first appeared, or 0 when it never did.
    DWORD WhenLogged(const std::string& line, DWORD stopAfterMs) {
        DWORD seen = 0;
        VirtualTime::afterSleep = [&] {
            if (!seen && Contains(line))
                seen = Elapsed();
            if (Elapsed() >= stopAfterMs)
                stopRequested = true;
        };
        RunIndexingLoop();
        return seen;
    }
    bool Contains(const std::string& line) const {
        const auto lines = LogLines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
};

TEST_F(IndexingLoop, FirstCycleComesOneIntervalAfterStart) {
    UseSettings("DesktopSearchFreqMinutes=1\nDesktopSearchDebug=1\n");
    const DWORD when = WhenLogged("TamselODSPlugin: Indexing loop... not enabled", 200000);
    EXPECT_GE(when, 60000u);
    EXPECT_LE(when, 61000u);
    EXPECT_TRUE(Contains("TamselODSPlugin: Starting Indexing Loop"));
    EXPECT_TRUE(Contains("TamselODSPlugin: Stopping Indexing Loop"));
}

TEST_F(IndexingLoop, WakeRequestStartsTheCycleWithinASecond) {
    UseSettings("DesktopSearchDebug=1\nDesktopSearchIndexEnabled=1\n");
    DWORD seen = 0;
    VirtualTime::afterSleep = [&] {
        if (Elapsed() == 5000)
            WakeIndexer();
        if (!seen && Contains("TamselODSPlugin: Indexing loop... ODS not installed/running"))
            seen = Elapsed();
        if (Elapsed() >= 400000)
            stopRequested = true;
    };
    RunIndexingLoop();
    EXPECT_EQ(seen, 6000u) << "checked at the first wait step after the wake request";
    EXPECT_FALSE(wakeRequested) << "the cycle consumes the wake request";
}

TEST_F(IndexingLoop, StopEndsALongWaitWithinOneStep) {
    VirtualTime::afterSleep = [&] {
        if (Elapsed() == 30 * 60000)
            stopRequested = true;
    };
    IdleWait(100 * 60000, 0);
    EXPECT_EQ(Elapsed(), 30u * 60000u);
    EXPECT_EQ(GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_NORMAL);
    EXPECT_EQ(VirtualTime::priorities.front(), THREAD_PRIORITY_IDLE)
        << "waits run at idle priority";
}

TEST_F(IndexingLoop, WaitsAreCappedAndNeverShorterThanOneStep) {
    IdleWait(0xFFFFFFFF, 0);
    EXPECT_EQ(Elapsed(), 6000000u);
    VirtualTime::sleeps.clear();
    IdleWait(10, 0);
    EXPECT_EQ(VirtualTime::sleeps, std::vector<DWORD>{1000});
    VirtualTime::sleeps.clear();
    IdleWait(0, 0);
    EXPECT_TRUE(VirtualTime::sleeps.empty());
}

TEST_F(IndexingLoop, WaitInsideAPassEndsOnResetNotOnWake) {
    wakeRequested = true;
    IdleWait(3000, 1);
    EXPECT_EQ(VirtualTime::sleeps.size(), 3u);
    resetRequested = true;
    IdleWait(3000, 1);
    EXPECT_EQ(VirtualTime::sleeps.size(), 3u);
    resetRequested = false;
    IdleWait(3000, 0);
    EXPECT_EQ(VirtualTime::sleeps.size(), 3u) << "between passes a wake request ends the wait";
}

TEST_F(IndexingLoop, HistoryCheckAdvancesOnceAMinuteEvenWhenHistoryIsOff) {
    UseSettings("DesktopSearchNoIndexHistory=1\n");
    const DWORD start = lastHistoryCheckTick;
    std::vector<DWORD> checks;
    VirtualTime::afterSleep = [&] {
        if (checks.empty() ? lastHistoryCheckTick != start
                           : lastHistoryCheckTick != checks.back() + start)
            checks.push_back(lastHistoryCheckTick - start);
    };
    IdleWait(185000, 0);
    EXPECT_EQ(checks, (std::vector<DWORD>{60000, 120000, 180000}));
}

TEST_F(IndexingLoop, VerboseLoggingNamesEverySleep) {
    UseSettings("DesktopSearchDebugLots=1\n");
    IdleWait(3000, 0);
    const auto lines = LogLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "TamselZDSPlugin: Sleeping"), 3);
}

TEST_F(IndexingLoop, NoSlotInUseLeavesTheRotationWhereItWas) {
    UseSettings("DesktopSearchIndexEnabled=1\n");
    rotationSlot = 7;
    VirtualTime::afterSleep = [&] {
        if (Elapsed() >= 20 * 60000)
            stopRequested = true;
    };
    RunIndexingLoop();
    EXPECT_EQ(rotationSlot, 7);
}

TEST_F(IndexingLoop, ClientShutdownEndsTheLoopAfterTheWait) {
    UseSettings("DesktopSearchFreqMinutes=2\n");
    StoreClientShutdown();
    RunIndexingLoop();
    EXPECT_EQ(Elapsed(), 120000u);
}

TEST_F(IndexingLoop, YieldSleepsOnlyWhenNothingIsAskedAndOnceEvery16Milliseconds) {
    // An earlier test of this process may have yielded moments ago by the virtual clock:
    // 16 ms after a first call the second yields whatever the first did.
    IdleYield();
    VirtualTime::now += 16;
    VirtualTime::sleeps.clear();
    IdleYield();
    IdleYield();
    EXPECT_EQ(VirtualTime::sleeps, std::vector<DWORD>{0}) << "the second call came at once";
    for (auto* flag : {&stopRequested, &resetRequested, &wakeRequested}) {
        VirtualTime::now += 16;
        *flag = true;
        IdleYield();
        *flag = false;
    }
    EXPECT_EQ(VirtualTime::sleeps.size(), 1u);
    VirtualTime::now += 15;
    IdleYield();
    EXPECT_EQ(VirtualTime::sleeps.size(), 1u) << "15 ms after the last yield";
    ++VirtualTime::now;
    IdleYield();
    EXPECT_EQ(VirtualTime::sleeps.size(), 2u);
    EXPECT_EQ(VirtualTime::priorities.back(), THREAD_PRIORITY_IDLE);
    EXPECT_EQ(GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_NORMAL);
}

} // namespace

namespace {

// What the fake engines are like for a while.
enum class Engines { ready, stopped, paused, disabled, unregistered, absent, onlySecondStopped };

// Cycles that really walk databases, with an engine that reports ready and scripted converters.
class IndexingLoopWithPasses : public IndexingLoop {
  protected:
    void SetUp() override {
        IndexingLoop::SetUp();
        fakes.Install();
        CreateComponentKey(zendriComponents);
        ScriptedNotes::Install();
        ScriptedNotes::onNote = [this](NOTEID id) {
            walked.push_back({indexStatus.currentSlot, id, Elapsed()});
        };
        UseSettings(
            "DesktopSearchIndexEnabled=1\nDesktopSearchWaitTime=0\nDesktopSearchFreqMinutes=1\n");
        for (int slot = 0; slot < 2; ++slot) {
            databases[slot].AddMemos(3);
            SetSlotPath(slot, databases[slot].path().c_str());
        }
    }
    void TearDown() override {
        DeleteComponentKeys();
        IndexingLoop::TearDown();
    }
    void MakeEngines(Engines how) {
        fakes.answers.clear();
        fakes.creation.clear();
        DeleteComponentKeys();
        const HRESULT probe = how == Engines::stopped || how == Engines::onlySecondStopped
                                  ? engine_results::E_SERVICE_NOT_RUNNING
                              : how == Engines::paused   ? engine_results::S_INDEXING_PAUSED
                              : how == Engines::disabled ? engine_results::E_COMPONENT_DISABLED
                                                         : S_OK;
        fakes.answers["Send"] = {probe};
        if (how == Engines::absent || how == Engines::onlySecondStopped)
            fakes.creation["ZendriEventFactory"] = REGDB_E_CLASSNOTREG;
        if (how == Engines::absent)
            fakes.creation["OrvennaEventFactory"] = REGDB_E_CLASSNOTREG;
        if (how == Engines::onlySecondStopped)
            CreateComponentKey(orvennaComponents);
        else if (how != Engines::unregistered)
            CreateComponentKey(zendriComponents);
    }
    void RunFor(DWORD milliseconds) {
        VirtualTime::afterSleep = [this, milliseconds] {
            if (Elapsed() >= milliseconds)
                stopRequested = true;
        };
        RunIndexingLoop();
    }
    struct Visit {
        LONG slot;
        NOTEID id;
        DWORD when;
    };
    std::vector<std::pair<LONG, NOTEID>> Visits() const {
        std::vector<std::pair<LONG, NOTEID>> visits;
        for (const auto& v : walked)
            visits.push_back({v.slot, v.id});
        return visits;
    }

    EngineTurn turn;
    FakeEngines fakes;
    TestDatabase databases[2] = {TestDatabase(dir.file("zero.zrb")),
                                 TestDatabase(dir.file("one.zrb"))};
    std::vector<Visit> walked;
};

TEST_F(IndexingLoopWithPasses, APausedEngineIsLoggedAsPausedAndNothingIsWalked) {
    UseSettings("DesktopSearchIndexEnabled=1\nDesktopSearchFreqMinutes=1\nDesktopSearchDebug=1\n");
    const struct {
        HRESULT probe;
        const char* logged;
    } cases[] = {
        {engine_results::S_INDEXING_PAUSED, "TamselODSPlugin: Indexing loop... ODS paused"},
        {engine_results::E_SERVICE_NOT_RUNNING,
         "TamselODSPlugin: Indexing loop... ODS not installed/running"},
    };
    for (const auto& c : cases) {
        DeleteFileA(dir.file("tamsel.log").c_str());
        fakes.answers["Send"] = {c.probe};
        RunFor(Elapsed() + 90000);
        stopRequested = false;
        EXPECT_TRUE(walked.empty()) << c.logged;
        EXPECT_TRUE(Contains(c.logged)) << testing::PrintToString(LogLines());
    }
}

struct EngineStateCase {
    const char* name;
    std::vector<Engines> phases; // each lasts three cycles
    std::vector<std::string> logged;
};

TEST_F(IndexingLoopWithPasses, TheEnginesStateIsSaidWhenItChangesWithoutDebugLogging) {
    const std::string waits = "TamselODSPlugin: Indexing waits: ";
    const std::string zendriBack = "TamselODSPlugin: Zendri Desktop Search ready: indexing goes on";
    const EngineStateCase cases[] = {
        {"ready throughout", {Engines::ready}, {}},
        {"stopped, then back",
         {Engines::stopped, Engines::ready},
         {waits + "Zendri Desktop Search service not running", zendriBack}},
        {"paused, then back",
         {Engines::paused, Engines::ready},
         {waits + "Zendri Desktop Search indexing paused", zendriBack}},
        {"disabled, then back",
         {Engines::disabled, Engines::ready},
         {waits + "component disabled in Zendri Desktop Search", zendriBack}},
        {"not registered, then back",
         {Engines::unregistered, Engines::ready},
         {waits + "component not registered with Zendri Desktop Search", zendriBack}},
        {"no engine, then back",
         {Engines::absent, Engines::ready},
         {waits + "search engine not installed", zendriBack}},
        {"only the second engine, stopped",
         {Engines::onlySecondStopped},
         {waits + "Orvenna Desktop service not running"}},
        {"ready, then stopped",
         {Engines::ready, Engines::stopped},
         {waits + "Zendri Desktop Search service not running"}},
        {"from one state to another",
         {Engines::stopped, Engines::paused, Engines::paused, Engines::absent},
         {waits + "Zendri Desktop Search service not running",
          waits + "Zendri Desktop Search indexing paused", waits + "search engine not installed"}},
    };
    constexpr DWORD phaseMs = 3 * 60000;
    for (const EngineStateCase& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileA(dir.file("tamsel.log").c_str());
        for (int slot = 0; slot < 2; ++slot)
            SaveSlotState(slot, nullptr, nullptr, 0, 0, 0);
        walked.clear();
        fakes.calls.clear();
        size_t phase = 0;
        MakeEngines(c.phases[0]);
        const DWORD start = Elapsed();
        // Phases change between cycles, which come every minute.
        VirtualTime::afterSleep = [&] {
            const DWORD into = Elapsed() - start;
            const size_t now = into < 30000 ? 0 : (into - 30000) / phaseMs;
            if (now >= c.phases.size())
                stopRequested = true;
            else if (now != phase)
                MakeEngines(c.phases[phase = now]);
        };
        RunIndexingLoop();
        stopRequested = false;
        EXPECT_EQ(fakes.CallsStartingWith("create ZendriEventFactory").size(), 3 * c.phases.size())
            << "the engines are checked every cycle";
        std::vector<std::string> said;
        for (const std::string& line : LogLines())
            if (line.rfind("TamselODSPlugin: ", 0) == 0)
                said.push_back(line);
        EXPECT_EQ(said, c.logged);
        EXPECT_EQ(walked.empty(),
                  c.phases.back() != Engines::ready && c.phases.front() != Engines::ready);
    }
}

TEST_F(IndexingLoopWithPasses, EachStartOfTheThreadSaysTheStateAgain) {
    MakeEngines(Engines::stopped);
    for (int start = 0; start < 2; ++start) {
        RunFor(Elapsed() + 4 * 60000);
        stopRequested = false;
    }
    const auto lines = LogLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(),
                         "TamselODSPlugin: Indexing waits: Zendri Desktop Search service not "
                         "running"),
              2);
}

TEST_F(IndexingLoopWithPasses, TheEnginesWaitIsHonouredUnlessLongerThanTheInterval) {
    SetSlotPath(1, nullptr); // a later pass that sends again needs no wait
    const std::pair<DWORD, DWORD> cases[] = {{5000, 5000}, {120000, 60000}};
    for (const auto& [asked, expected] : cases) {
        SCOPED_TRACE(asked);
        SaveSlotState(0, nullptr, nullptr, 0, 0, 0);
        walked.clear();
        ScriptedNotes::answers[8] =
            ScriptedNotes::Failure(engine_results::E_SEND_DELAYED, asked, true);
        const DWORD start = Elapsed();
        RunFor(start + 60000 + expected + 30000);
        stopRequested = false;
        ASSERT_EQ(walked.size(), 4u);
        EXPECT_EQ(walked[0].when - start, 60000u)
            << "the first cycle comes one interval after start";
        EXPECT_EQ(walked[2].id, 8u) << "resumed at the note that was delayed";
        EXPECT_GE(walked[2].when - walked[1].when, expected);
        EXPECT_LT(walked[2].when - walked[1].when, expected + 1000);
    }
}

TEST_F(IndexingLoopWithPasses, AResetMidCycleStartsTheNextCycleFromTheBeginning) {
    UseSettings("DesktopSearchIndexEnabled=1\nDesktopSearchWaitTime=0\nDesktopSearchFreqMinutes=1\n"
                "DesktopSearchDebug=1\n");
    for (int slot = 0; slot < 2; ++slot)
        SetSlotPath(slot, databases[slot].path().c_str());
    ScriptedNotes::onNote = [this](NOTEID id) {
        walked.push_back({indexStatus.currentSlot, id, Elapsed()});
        if (walked.size() == 2)
            ResetAllSlots();
    };
    RunFor(150000);
    EXPECT_EQ(Visits(),
              (std::vector<std::pair<LONG, NOTEID>>{
                  {0, 4},
                  {0, 8}, // the reset stops the walk and the cycle before slot 1
                  // the next cycle starts one past that, at slot 2, and from the beginning
                  {0, 4},
                  {0, 8},
                  {0, 12},
                  {1, 4},
                  {1, 8},
                  {1, 12}}));
    EXPECT_EQ(rotationSlot, 0);
    EXPECT_FALSE(resetRequested);
    EXPECT_TRUE(Contains("TamselODSPlugin: Reset command given previously"));
    STORETIME last;
    EXPECT_TRUE(GetLastIndexed(0, &last));
    EXPECT_TRUE(GetLastIndexed(1, &last));
}

} // namespace
