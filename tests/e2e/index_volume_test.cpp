// The engines' index folder on a volume that fills up during a pass, or that cannot be written
// at all: the pass must stop without calling itself complete, and once the volume has room
// again every mail must reach the index exactly once.
#include "database_run.h"
#include "volume_filler.h"

#include <gtest/gtest.h>

namespace {

constexpr int mails = 60;

class IndexVolume : public DatabaseRun {
  protected:
    void SetUp() override {
        if (!testing_support::FileExists(Volume("mounted")))
            GTEST_SKIP() << "the small volumes are mounted only when the tests run as root";
        MakeSampleMailFile(mails, 11);
    }
    static std::string Volume(const std::string& name) {
        return std::string(SMALL_VOLUMES_DIR) + "/" + name;
    }
};

// The engine's write fails part-way, leaving a torn record; the pass stops at that mail and
// keeps a recovery point, and the pass after it, with room again, sends the rest once.
TEST_F(IndexVolume, AVolumeThatFillsUpStopsThePassAndTheRestFollowsOnceThereIsRoom) {
    const std::string index = Volume("full") + "/index-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryA(index.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    engines.MoveIndexTo(index);
    testing_support::VolumeFiller filler(Volume("full"));
    ASSERT_TRUE(filler.Fill(24 * 1024));

    const ClientRun full = Index();
    EXPECT_TRUE(SaidInLog(full, "(mail.zrb): Tamsel indexed:") &&
                SaidInLog(full, "Zendri error:80070070"))
        << "the pass names the disk-full error";
    EXPECT_TRUE(IsRecoveryPoint(TimeStamp())) << TimeStamp();
    const size_t sent = Listed().size();
    EXPECT_GT(sent, 0u);
    EXPECT_NE(VerifiedTotals()["pending"], 0) << "the rest waits for the next pass";

    ASSERT_TRUE(filler.Unfill());
    Index();
    EXPECT_FALSE(TimeStamp().empty() || IsRecoveryPoint(TimeStamp())) << TimeStamp();
    EXPECT_GT(Listed().size(), sent);
    EXPECT_EQ(VerifiedTotals(), nothingWrong);
}

// Nothing can be stored: the pass says why, never records itself complete, and the same
// databases indexed into a writable folder afterwards are whole.
TEST_F(IndexVolume, AnIndexFolderThatCannotBeWrittenIndexesNothingAndLosesNothing) {
    const std::string writable = engines.IndexFolder();
    engines.MoveIndexTo(Volume("readonly"));
    const ClientRun refused = Index();
    EXPECT_TRUE(SaidInLog(refused, "(mail.zrb): Tamsel indexed:0  Zendri error:80070005"))
        << "access denied, in the pass's summary";
    EXPECT_TRUE(TimeStamp().empty() || IsRecoveryPoint(TimeStamp())) << TimeStamp();
    const auto count = engines.Zsearch(L"count");
    EXPECT_EQ(count.exitCode, 0u) << "an empty read-only index can be read: " << count.output;
    EXPECT_EQ(count.output, "0\n");

    engines.MoveIndexTo(writable);
    Index();
    EXPECT_FALSE(TimeStamp().empty() || IsRecoveryPoint(TimeStamp())) << TimeStamp();
    EXPECT_EQ(VerifiedTotals(), nothingWrong);
}

} // namespace
