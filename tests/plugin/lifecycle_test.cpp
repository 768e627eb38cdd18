#include "host/exports.h"
#include "host/host_state.h"
#include "indexing/indexing_loop.h"
#include "plugin_fixture.h"
#include "state/index_status.h"
#include "state/thread_flags.h"

using namespace tamsel;

namespace {

class Lifecycle : public PluginTest {
  protected:
    void TearDown() override {
        TamselDesktopTerm();
        PluginTest::TearDown();
    }
};

TEST_F(Lifecycle, StartClearsTheSharedStateAndIsIdempotent) {
    resetRequested = true;
    wakeRequested = true;
    nextWaitMs = 5000;
    indexStatus.total = 42;
    openErrorReported[3] = 1;
    historyOpenErrorReported = 1;
    ASSERT_EQ(TamselDesktopIndex(), 1);
    EXPECT_FALSE(resetRequested);
    EXPECT_FALSE(wakeRequested);
    EXPECT_EQ(nextWaitMs.load(), 0u);
    IndexStatus copy;
    GetIndexStatus(&copy);
    EXPECT_EQ(copy.total, 0u);
    EXPECT_EQ(openErrorReported[3], 0);
    EXPECT_EQ(historyOpenErrorReported, 0);
    const HANDLE thread = indexThread;
    EXPECT_EQ(TamselDesktopIndex(), 1);
    EXPECT_EQ(indexThread.load(), thread) << "one indexing thread at most";
}

TEST_F(Lifecycle, StopWithoutAThreadReturnsAtOnce) {
    EXPECT_EQ(TamselDesktopTerm(), 1);
    EXPECT_TRUE(stopRequested);
    EXPECT_TRUE(LogLines().empty()) << "the termination line is a debug line";
}

TEST_F(Lifecycle, DebugLoggingAddsTheTerminationLine) {
    UseSettings("DesktopSearchDebug=1\n");
    ASSERT_EQ(TamselDesktopIndex(), 1);
    ASSERT_TRUE(WaitForLogLine("TamselODSPlugin: Starting Indexing Loop"));
    TamselDesktopTerm();
    EXPECT_EQ(LogLines(), (std::vector<std::string>{
                              "TamselODSPlugin: Starting indexing",
                              "TamselODSPlugin: Starting Indexing Loop",
                              "TamselODSPlugin: Thread termination requested",
                              "TamselODSPlugin: Stopping Indexing Loop",
                              "TamselODSPlugin: Stopping indexing",
                          }));
}

TEST_F(Lifecycle, ThreadEndsByItselfWhenTheClientShutsDown) {
    ASSERT_EQ(TamselDesktopIndex(), 1);
    StoreClientShutdown();
    WakeIndexer(); // the shutdown is noticed when the wait between passes ends
    EXPECT_EQ(WaitForSingleObject(indexThread.load(), 5000), WAIT_OBJECT_0);
    EXPECT_NE(indexThread.load(), nullptr) << "the handle stays until the stop call";
    EXPECT_EQ(TamselDesktopIndex(), 1) << "no second thread before the stop call";
    TamselDesktopTerm();
    EXPECT_EQ(indexThread.load(), nullptr);
}

TEST_F(Lifecycle, AStopBeforeTheThreadRunsEndsItWithoutIndexing) {
    ASSERT_EQ(TamselDesktopIndex(), 1);
    TamselDesktopTerm();
    const auto lines = LogLines();
    ASSERT_FALSE(lines.empty());
    // Either the thread ran and stopped, or it saw the stop request first and never started.
    const bool ran = lines.size() == 2 && lines[0] == "TamselODSPlugin: Starting indexing" &&
                     lines[1] == "TamselODSPlugin: Stopping indexing";
    EXPECT_TRUE(ran || lines == std::vector<std::string>{"TamselODSPlugin: Cannot create thread"})
        << Log();
}

TEST_F(Lifecycle, AThreadStartedAfterAStopRequestLogsThatItCannotRun) {
    stopRequested = true;
    EXPECT_EQ(IndexingThreadMain(nullptr), 0u);
    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), 1u) << Log();
    EXPECT_EQ(lines[0], "TamselODSPlugin: Cannot create thread");
}

TEST_F(Lifecycle, RestartsAfterAStop) {
    ASSERT_EQ(TamselDesktopIndex(), 1);
    TamselDesktopTerm();
    ASSERT_EQ(TamselDesktopIndex(), 1);
    EXPECT_NE(indexThread.load(), nullptr);
    EXPECT_FALSE(stopRequested);
}

} // namespace
