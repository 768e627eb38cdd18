#include "plugin_fixture.h"
#include "settings/index_type_mask.h"

using namespace tamsel;

namespace {

class IndexTypes : public PluginTest {};

TEST_F(IndexTypes, MailIsAlwaysEnabled) {
    IndexTypeMask = 0;
    EXPECT_TRUE(IsIndexTypeEnabled(indexTypeMail));
    EXPECT_TRUE(IsIndexTypeEnabled(indexTypeMail | indexTypeTasks));
    EXPECT_FALSE(IsIndexTypeEnabled(indexTypeTasks));
}

TEST_F(IndexTypes, StartsWithEveryKindAndFeature) {
    for (DWORD bit :
         {indexTypeContacts, indexTypeCalendar, indexTypeTasks, indexTypeOther, indexTypeJournal,
          indexFeatureUrl, indexFeatureOtherData, indexFeatureDeletions})
        EXPECT_TRUE(IsIndexTypeEnabled(bit)) << bit;
    for (DWORD bit : {0x008u, 0x080u, 0x1000u})
        EXPECT_FALSE(IsIndexTypeEnabled(bit)) << bit;
}

TEST_F(IndexTypes, SwitchingOffRemovesOnlyThoseBits) {
    SetIndexTypeEnabled(indexFeatureUrl | indexFeatureOtherData | indexFeatureDeletions, 0);
    EXPECT_EQ(IndexTypeMask.load(), 0x177u);
    SetIndexTypeEnabled(indexFeatureDeletions, 0);
    EXPECT_EQ(IndexTypeMask.load(), 0x177u) << "already off: nothing changes";
    SetIndexTypeEnabled(indexTypeMail, 0);
    EXPECT_EQ(IndexTypeMask.load(), 0x176u);
    EXPECT_TRUE(IsIndexTypeEnabled(indexTypeMail)) << "mail stays enabled without its bit";
    SetIndexTypeEnabled(indexFeatureUrl, 1);
    EXPECT_EQ(IndexTypeMask.load(), 0x376u);
}

TEST_F(IndexTypes, IdleGateOpensOnceEveryNinthDelayedPass) {
    UseSettings("DesktopSearchIndexOnIdle=1\n");
    // Whatever an earlier test of this process counted: nine more open the gate, which
    // starts counting afresh.
    for (int pass = 0; pass < 9; ++pass)
        CountSendDelayed();
    ASSERT_TRUE(IdleSendGate());
    std::string answers;
    for (int pass = 0; pass < 20; ++pass) {
        answers += IdleSendGate() ? '1' : '0';
        CountSendDelayed();
    }
    EXPECT_EQ(answers, "00000000010000000010");
}

TEST_F(IndexTypes, IdleGateIsOpenWhenIdleIndexingIsOff) {
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(IdleSendGate());
}

} // namespace
