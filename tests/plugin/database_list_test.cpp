#include "plugin_fixture.h"
#include "settings/client_settings.h"
#include "settings/database_list.h"
#include "settings/slot_state.h"
#include "state/index_status.h"
#include "state/thread_flags.h"
#include "test_database.h"
#include "unique_resource.h"

using namespace tamsel;

namespace {

// The client's settings keep no empty variables: writing "" removes one.
std::string Setting(const char* name) {
    char value[600];
    return StoreGetEnvString(name, value, sizeof value) ? value : "";
}

bool Same(const STORETIME& a, const STORETIME& b) {
    return a.timeOfDay == b.timeOfDay && a.dayNumber == b.dayNumber;
}

const STORETIME t1 = {6480000, 2461383 | (4u << 24)};           // with a zone of +01:00
const STORETIME t2 = {100, 2461384 | (4u << 24) | 0x80000000u}; // with daylight saving time

class DatabaseList : public PluginTest {};

TEST_F(DatabaseList, SlotZeroHasNoNumberAndSlotTwelveItsNumber) {
    SetSlotPath(0, "first.zrb");
    SetSlotPath(12, "twelfth.zrb");
    SaveSlotState(0, &t1, nullptr, 0, 0, 0);
    SaveSlotState(12, &t1, &t2, 0x2A, 5, 9);
    EXPECT_EQ(Setting("DesktopSearchFilePath"), "first.zrb");
    EXPECT_EQ(Setting("DesktopSearchFilePath12"), "twelfth.zrb");
    EXPECT_EQ(Setting("DesktopSearchFilePath0"), "");
    std::string first, second;
    ASSERT_TRUE(TimeText(t1, first));
    ASSERT_TRUE(TimeText(t2, second));
    EXPECT_EQ(Setting("DesktopSearchTimestamp"), first);
    EXPECT_EQ(Setting("DesktopSearchTimestamp12"), first + "|" + second + "|42|5|9");
}

TEST_F(DatabaseList, StateWrittenIsReadBackWhole) {
    SetSlotPath(3, "mail.zrb");
    SaveSlotState(3, &t1, &t2, 0x80000007, 17, 40);
    LoadSettings();
    STORETIME last{}, until{};
    NOTEID note = 0;
    LONG processed = 0, total = 0;
    ASSERT_TRUE(GetLastIndexed(3, &last));
    EXPECT_TRUE(Same(last, t1));
    ASSERT_TRUE(GetResumePoint(3, &until, &note));
    EXPECT_TRUE(Same(until, t2));
    EXPECT_EQ(note, 0x80000007u);
    ASSERT_TRUE(GetSavedProgress(3, &processed, &total));
    EXPECT_EQ(processed, 17);
    EXPECT_EQ(total, 40);
}

// The replica id of the database indexed at a path lasts while the path does.
TEST_F(DatabaseList, TheIndexedReplicaIsKeptWithItsPathAndForgottenWithIt) {
    SetSlotPath(0, "first.zrb");
    SetSlotPath(7, "seventh.zrb");
    ASSERT_EQ(SetSlotReplica(0, "0123456789ABCDEF"), STORE_NOERROR);
    ASSERT_EQ(SetSlotReplica(7, "FEDCBA9876543210"), STORE_NOERROR);
    EXPECT_EQ(Setting("DesktopSearchReplica"), "0123456789ABCDEF");
    EXPECT_EQ(Setting("DesktopSearchReplica7"), "FEDCBA9876543210");
    LoadSettings();
    EXPECT_EQ(GetSlotReplica(0), "0123456789ABCDEF");
    SetSlotPath(0, "first.zrb"); // the dialog's Apply writes the same path again
    SetSlotPath(7, "other.zrb");
    SaveSlotState(0, nullptr, nullptr, 0, 0, 0);
    EXPECT_EQ(GetSlotReplica(0), "0123456789ABCDEF");
    EXPECT_EQ(GetSlotReplica(7), "");
    EXPECT_EQ(Setting("DesktopSearchReplica7"), "");
    EXPECT_EQ(SetSlotReplica(slotCount, "0123456789ABCDEF"), STORE_ERR_BAD_ARGUMENT);
    EXPECT_EQ(SetSlotReplica(1, std::string(64, 'A')), STORE_ERR_BAD_ARGUMENT);
}

struct StampCase {
    const char* text;
    bool lastValid, resumeValid;
    NOTEID note;
    LONG processed, total;
};

TEST_F(DatabaseList, TimeStampTextsAreParsedAsWritten) {
    const StampCase cases[] = {
        {"", false, false, 0, 0, 0},
        {"0", false, false, 0, 0, 0},
        {"2026-12-08 18:00:00.00 +01:00", true, false, 0, 0, 0},
        {"2026-12-08 18:00:00.00 +01:00|2026-12-09 10:00:00.00 +01:00|42|5|9", true, true, 42, 5,
         9},
        {"0|2026-12-09 10:00:00.00 +01:00|42|5|9", false, true, 42, 5, 9},
        // four fields: the note ID, but no counts
        {"2026-12-08 18:00:00.00|2026-12-09 10:00:00.00|42|5", true, true, 42, 0, 0},
        // runs of separators and empty fields are skipped
        {"||2026-12-08 18:00:00.00|||2026-12-09 10:00:00.00||  +42abc|-3|7|", true, true, 42, -3,
         7},
        {"not a time", false, false, 0, 0, 0},
        {"not a time|2026-12-09 10:00:00.00|8|1|2", false, true, 8, 1, 2},
        {"2026-12-08 18:00:00.00|garbage|42|5|9", true, false, 0, 0, 0},
        {"2026-12-08 18:00:00.00|2026-12-09 10:00:00.00|x|y|z", true, true, 0, 0, 0},
        {"2026-12-08 18:00:00.00|2026-12-09 10:00:00.00|-2147483641|99999999999999|-99999999999999",
         true, true, 0x80000007, 2147483647, -2147483647 - 1},
        {"2026-12-08 18:00:00.00|2026-12-09 10:00:00.00|2147483655|1|1", true, true, 0x80000007, 1,
         1},
    };
    for (const auto& c : cases) {
        const SlotState state = ParseSlotState(c.text);
        EXPECT_EQ(state.lastIndexedValid, c.lastValid) << c.text;
        EXPECT_EQ(state.resumeValid, c.resumeValid) << c.text;
        EXPECT_EQ(state.resumeNoteId, c.note) << c.text;
        EXPECT_EQ(state.savedProcessed, c.processed) << c.text;
        EXPECT_EQ(state.savedTotal, c.total) << c.text;
        if (!c.lastValid) {
            EXPECT_TRUE(Same(state.lastIndexedTime, STORETIME{0, 0})) << c.text;
        }
    }
}

TEST_F(DatabaseList, NeverIndexedAndCountsOfZeroGiveNoProgress) {
    UseSettings("DesktopSearchFilePath=a.zrb\nDesktopSearchTimestamp=0\n"
                "DesktopSearchFilePath1=b.zrb\n"
                "DesktopSearchTimestamp1=2026-12-08 18:00:00.00|2026-12-09 10:00:00.00|42|5\n");
    STORETIME last = t1;
    EXPECT_FALSE(GetLastIndexed(0, &last));
    EXPECT_TRUE(Same(last, STORETIME{0, 0}));
    STORETIME until = t1;
    NOTEID note = 7;
    EXPECT_FALSE(GetResumePoint(0, &until, &note));
    EXPECT_TRUE(Same(until, t1)) << "outputs stay untouched";
    EXPECT_EQ(note, 7u);
    ASSERT_TRUE(GetResumePoint(1, &until, &note));
    EXPECT_EQ(note, 42u);
    LONG processed = 1, total = 1;
    EXPECT_FALSE(GetSavedProgress(1, &processed, &total));
}

TEST_F(DatabaseList, SavingTheEarliestTimeWritesZeroAndNullClearsEverything) {
    const STORETIME earliest{0, 0};
    SaveSlotState(2, &earliest, nullptr, 0, 0, 0);
    EXPECT_EQ(Setting("DesktopSearchTimestamp2"), "0");
    STORETIME last;
    EXPECT_TRUE(GetLastIndexed(2, &last));
    SaveSlotState(2, &t1, &t2, 5, 1, 2);
    SaveSlotState(2, nullptr, &t2, 5, 1, 2);
    EXPECT_EQ(Setting("DesktopSearchTimestamp2"), "");
    EXPECT_FALSE(GetLastIndexed(2, &last));
    EXPECT_FALSE(GetResumePoint(2, nullptr, nullptr));
    // An until-time without a text of its own records no interrupted pass.
    SaveSlotState(2, &t1, &earliest, 5, 1, 2);
    EXPECT_EQ(Setting("DesktopSearchTimestamp2").find('|'), std::string::npos);
    EXPECT_FALSE(GetResumePoint(2, nullptr, nullptr));
}

TEST_F(DatabaseList, PathsAreCutAt256CharactersAndBuffersAlwaysTerminated) {
    const std::string exact(256, 'p'), longer(300, 'q');
    UseSettings("DesktopSearchFilePath3=" + longer + "\n");
    SetSlotPath(1, exact.c_str());
    SetSlotPath(2, longer.c_str());
    char path[400];
    ASSERT_TRUE(GetSlotPath(1, path, sizeof path));
    EXPECT_EQ(std::string(path), exact);
    ASSERT_TRUE(GetSlotPath(2, path, sizeof path));
    EXPECT_EQ(std::string(path), longer.substr(0, 256));
    ASSERT_TRUE(GetSlotPath(3, path, sizeof path));
    EXPECT_EQ(std::string(path), longer.substr(0, 256));
    char small[8] = "xxxxxxx";
    ASSERT_TRUE(GetSlotPath(3, small, sizeof small));
    EXPECT_EQ(std::string(small), "qqqqqqq");
    EXPECT_FALSE(GetSlotPath(4, path, sizeof path));
    EXPECT_EQ(path[0], '\0');
    EXPECT_FALSE(GetSlotPath(16, nullptr, 0));
}

TEST_F(DatabaseList, FindSlotByPathIsExactAndNeverFindsHistory) {
    SetSlotPath(4, "Mail.zrb");
    SetSlotPath(historySlot, "shelf.zrb");
    EXPECT_EQ(FindSlotByPath("Mail.zrb"), 4);
    EXPECT_EQ(FindSlotByPath("mail.zrb"), -1);
    EXPECT_EQ(FindSlotByPath("shelf.zrb"), -1);
    EXPECT_EQ(FindSlotByPath(""), -1);
    SetSlotPath(4, nullptr);
    EXPECT_EQ(FindSlotByPath("Mail.zrb"), -1);
    EXPECT_EQ(Setting("DesktopSearchFilePath4"), "");
}

TEST_F(DatabaseList, HistoryDefaultsToAUsableShelfInTheDataDirectory) {
    EXPECT_FALSE(GetSlotPath(historySlot, nullptr, 0));
    EXPECT_EQ(Setting("DesktopSearchFilePath15"), "");
    TestDatabase shelf(dir.file("shelf.zrb"));
    LoadSettings();
    char path[300];
    ASSERT_TRUE(GetSlotPath(historySlot, path, sizeof path));
    EXPECT_EQ(std::string(path), dir.file("shelf.zrb"));
    EXPECT_EQ(Setting("DesktopSearchFilePath15"), dir.file("shelf.zrb"));
}

TEST_F(DatabaseList, AnUnusableShelfIsNotTaken) {
    TestDatabase shelf(dir.file("shelf.zrb"));
    shelf.SetFlags(0);
    LoadSettings();
    EXPECT_FALSE(GetSlotPath(historySlot, nullptr, 0));
    EXPECT_EQ(Setting("DesktopSearchFilePath15"), "");
}

class EngineIndexCheck : public DatabaseList {
  protected:
    void SetUp() override {
        DatabaseList::SetUp();
        withdrawals = 0;
        withdrawServerRegistration = []() -> HRESULT {
            ++withdrawals;
            return S_OK;
        };
    }
    void TearDown() override {
        withdrawServerRegistration = nullptr;
        DatabaseList::TearDown();
    }
    static inline int withdrawals = 0;
    void SetCreationTime(std::initializer_list<BYTE> bytes) {
        const std::vector<BYTE> value(bytes);
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, EngineIndexKey().c_str(),
                                  "index_creation_time", REG_BINARY, value.data(),
                                  DWORD(value.size())),
                  ERROR_SUCCESS);
    }
    const std::string stamped =
        "DesktopSearchFilePath=a.zrb\nDesktopSearchTimestamp=2026-12-08 18:00:00.00\n"
        "DesktopSearchFilePath15=h.zrb\nDesktopSearchTimestamp15=2026-12-08 18:00:00.00\n"
        "DesktopSearchInstallTime2=77\n";
};

TEST_F(EngineIndexCheck, ANewIndexEmptiesEveryTimeStampBeforeLoading) {
    SetCreationTime({0x01, 0xAB, 0x00, 0xFF});
    UseSettings(stamped + "DesktopSearchInstallTimestamp=01AB00FE\n");
    EXPECT_EQ(Setting("DesktopSearchInstallTimestamp"), "01AB00FF");
    EXPECT_EQ(Setting("DesktopSearchInstallTime2"), "");
    EXPECT_EQ(GetInstallTime(), 0);
    for (const char* name :
         {"DesktopSearchTimestamp", "DesktopSearchTimestamp7", "DesktopSearchTimestamp15"})
        EXPECT_EQ(Setting(name), "") << name;
    STORETIME last;
    EXPECT_FALSE(GetLastIndexed(0, &last));
    EXPECT_FALSE(GetLastIndexed(historySlot, &last));
    EXPECT_TRUE(GetSlotPath(0, nullptr, 0)) << "paths stay";
    EXPECT_EQ(withdrawals, 1) << "the COM server's registration is withdrawn once";
}

TEST_F(EngineIndexCheck, TheSameIndexOrNoEngineKeepsTheTimeStamps) {
    UseSettings(stamped);
    STORETIME last;
    EXPECT_TRUE(GetLastIndexed(0, &last)) << "no engine value: no check";
    EXPECT_EQ(Setting("DesktopSearchInstallTimestamp"), "");
    SetCreationTime({0x12, 0x34});
    UseSettings(stamped + "DesktopSearchInstallTimestamp=1234\n");
    EXPECT_TRUE(GetLastIndexed(0, &last));
    EXPECT_TRUE(GetLastIndexed(historySlot, &last));
    EXPECT_EQ(GetInstallTime(), 77);
    EXPECT_EQ(withdrawals, 0);
}

TEST_F(DatabaseList, ResetKeepsPathsAndForgetsEverythingElse) {
    SetSlotPath(0, "a.zrb");
    SetSlotPath(historySlot, "h.zrb");
    SaveSlotState(0, &t1, &t2, 3, 1, 2);
    SaveSlotState(historySlot, &t1, nullptr, 0, 0, 0);
    openErrorReported[4] = 1;
    historyOpenErrorReported = 1;
    nextWaitMs = 5000;
    ResetAllSlots();
    EXPECT_TRUE(resetRequested);
    EXPECT_EQ(nextWaitMs, 0u);
    EXPECT_EQ(openErrorReported[4], 0);
    EXPECT_EQ(historyOpenErrorReported, 0);
    EXPECT_EQ(Setting("DesktopSearchTimestamp"), "");
    EXPECT_EQ(Setting("DesktopSearchTimestamp15"), "");
    EXPECT_EQ(Setting("DesktopSearchFilePath"), "a.zrb");
    STORETIME last;
    EXPECT_FALSE(GetLastIndexed(0, &last));
    EXPECT_FALSE(GetResumePoint(0, nullptr, nullptr));
}

TEST_F(DatabaseList, AnUnwritableSettingsFileKeepsTheStateInMemoryOnly) {
    SetSlotPath(0, "a.zrb");
    win32::UniqueFile holder(CreateFileA(dir.file("tamsel.ini").c_str(), GENERIC_READ,
                                         FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    SaveSlotState(0, &t1, nullptr, 0, 0, 0);
    holder.reset();
    STORETIME last;
    EXPECT_TRUE(GetLastIndexed(0, &last));
    EXPECT_TRUE(Same(last, t1));
    LoadSettings();
    EXPECT_FALSE(GetLastIndexed(0, &last)) << "the next start repeats the work";
}

} // namespace
