#include "dialog_fixture.h"
#include "settings/client_settings.h"
#include "settings/database_list.h"
#include "state/engine_condition.h"
#include "state/index_status.h"
#include "state/thread_flags.h"

#include <algorithm>
#include <vector>

using namespace tamsel;
using testing_support::DialogDriver;

namespace {

class SettingsDialog : public SettingsDialogTest {};

struct Layout {
    int control;
    RECT units; // left, top, width, height in dialog units
    bool visible;
};

TEST_F(SettingsDialog, OpensFromItsTemplateWithTheCatalogueTexts) {
    const Layout layout[] = {
        {IDC_INTRODUCTION, {7, 8, 312, 27}, true},
        {IDC_ENABLE, {7, 36, 312, 10}, true},
        {IDC_INDEX_HISTORY, {64, 273, 8, 10}, false},
        {IDC_INDEX_DISCUSSION, {75, 273, 8, 10}, false},
        {IDC_DATABASES, {23, 54, 230, 62}, true},
        {IDC_ADD, {256, 54, 63, 14}, true},
        {IDC_REMOVE, {256, 72, 63, 14}, true},
        {IDC_SPARE_PANEL, {38, 124, 252, 84}, false},
        {IDC_INDEX_ENCRYPTED, {20, 130, 299, 10}, true},
        {IDC_INDEX_DRAFTS, {20, 142, 299, 10}, true},
        {IDC_INDEX_ON_IDLE, {20, 153, 299, 10}, true},
        {IDC_REINDEX_ALL, {20, 164, 299, 10}, true},
        {IDC_INDEX_EVERY, {20, 179, 299, 8}, true},
        {IDC_MINUTES, {31, 189, 16, 14}, true},
        {IDC_MINUTES_LABEL, {48, 193, 271, 11}, true},
        {IDC_HELP_TEXT, {7, 208, 312, 25}, true},
        {IDC_ABOUT, {7, 270, 53, 16}, true},
        {IDC_OK, {155, 270, 53, 16}, true},
        {IDC_CANCEL, {212, 270, 53, 16}, true},
        {IDC_APPLY, {266, 270, 53, 16}, true},
    };
    const auto dialog = Open();
    ASSERT_TRUE(dialog->IsOpen());
    char title[128];
    GetWindowTextA(dialog->window(), title, sizeof title);
    EXPECT_STREQ(title, "Zendri Desktop Search for Quarrix Velmora Tamsel");
    RECT client, size{0, 0, 326, 294};
    GetClientRect(dialog->window(), &client);
    MapDialogRect(dialog->window(), &size);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);
    for (const Layout& control : layout) {
        // Each of position and size is converted on its own, as the template's are.
        RECT expected = control.units;
        MapDialogRect(dialog->window(), &expected);
        RECT actual;
        GetWindowRect(GetDlgItem(dialog->window(), control.control), &actual);
        MapWindowPoints(nullptr, dialog->window(), reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ(actual.left, expected.left) << control.control;
        EXPECT_EQ(actual.top, expected.top) << control.control;
        EXPECT_EQ(actual.right - actual.left, expected.right) << control.control;
        // A list box keeps to whole lines, so it may come out a little shorter.
        const LONG height = actual.bottom - actual.top;
        if (control.control == IDC_DATABASES)
            EXPECT_LE(expected.bottom - height, 8) << height;
        else
            EXPECT_EQ(height, expected.bottom) << control.control;
        EXPECT_EQ(dialog->Visible(control.control), control.visible) << control.control;
    }
    EXPECT_EQ(dialog->Text(IDC_ENABLE), "Enable indexing of local Velmora Tamsel databases");
    EXPECT_EQ(dialog->Text(IDC_ADD), "Add...");
    EXPECT_EQ(dialog->Text(IDC_MINUTES_LABEL), "minutes");
    EXPECT_EQ(dialog->Text(IDC_HELP_TEXT), " ") << "indexing is off";
    EXPECT_EQ(dialog->Text(IDC_MINUTES), "5");
    EXPECT_TRUE(wakeRequested);
}

// A control's place in the dialog, in pixels.
RECT PlaceOf(HWND control) {
    RECT place;
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

bool Shown(HWND control) {
    return (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

TEST_F(SettingsDialog, NoControlLiesOverAVisibleOne) {
    const auto dialog = Open();
    std::vector<HWND> visible;
    for (HWND child = GetWindow(dialog->window(), GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT))
        if (Shown(child))
            visible.push_back(child);
    ASSERT_GT(visible.size(), 15u);
    // The boxes kept hidden too: widening a visible control must not run under them.
    std::vector<HWND> checked = visible;
    for (int hidden : {IDC_INDEX_HISTORY, IDC_INDEX_DISCUSSION})
        checked.push_back(GetDlgItem(dialog->window(), hidden));
    for (size_t i = 0; i < checked.size(); ++i) {
        for (size_t j = 0; j < std::min(i, visible.size()); ++j) {
            RECT a = PlaceOf(checked[i]), b = PlaceOf(visible[j]), common;
            EXPECT_FALSE(IntersectRect(&common, &a, &b))
                << GetDlgCtrlID(checked[i]) << " over " << GetDlgCtrlID(visible[j]);
        }
    }
}

struct ProposalCase {
    std::string settings;
    std::vector<std::string> databases, proposed; // in the data directory
};

TEST_F(SettingsDialog, WithNothingConfiguredProposesTheMailFileAndTheRoster) {
    const ProposalCase cases[] = {
        {"MailFile=mail\\me.zrb\n", {"mail\\me.zrb", "roster.zrb"}, {"mail\\me.zrb", "roster.zrb"}},
        {"DesktopSearchMailFile=own.zrb\nMailFile=mail\\me.zrb\n",
         {"own.zrb", "mail\\me.zrb"},
         {"own.zrb"}},
        {"MailFile=mail\\missing.zrb\n", {"roster.zrb"}, {"roster.zrb"}},
        {"", {}, {}},
    };
    CreateDirectoryA(dir.file("mail").c_str(), nullptr);
    for (const ProposalCase& c : cases) {
        for (const std::string& name : c.databases)
            MakeDatabase(name);
        UseSettings(c.settings);
        const auto dialog = Open();
        std::vector<std::string> expected;
        for (const std::string& name : c.proposed)
            expected.push_back(dir.file(name));
        EXPECT_EQ(dialog->Entries(IDC_DATABASES), expected) << c.settings;
        EXPECT_EQ(dialog->Selected(IDC_DATABASES), expected.empty() ? -1 : 0);
        EXPECT_EQ(dialog->Enabled(IDC_APPLY), !expected.empty()) << "the list differs";
        for (const std::string& name : c.databases)
            DeleteFileA(dir.file(name).c_str());
    }
}

TEST_F(SettingsDialog, ApplyIsEnabledOnlyWhileSomethingDiffersOrARebuildIsAsked) {
    UseSettings(SlotLines(0, MakeDatabase("a.zrb")) + "DesktopSearchIndexEnabled=1\n");
    const auto dialog = Open();
    EXPECT_FALSE(dialog->Enabled(IDC_APPLY));
    for (int box : {IDC_INDEX_ENCRYPTED, IDC_INDEX_DRAFTS, IDC_INDEX_ON_IDLE, IDC_REINDEX_ALL}) {
        ASSERT_TRUE(dialog->Click(box));
        EXPECT_TRUE(dialog->Enabled(IDC_APPLY)) << box;
        ASSERT_TRUE(dialog->Click(box));
        EXPECT_FALSE(dialog->Enabled(IDC_APPLY)) << box;
    }
    EXPECT_FALSE(dialog->Click(IDC_INDEX_HISTORY)) << "hidden from the user";
    dialog->Type(IDC_MINUTES, "7");
    EXPECT_TRUE(dialog->Enabled(IDC_APPLY));
    dialog->Type(IDC_MINUTES, "5");
    EXPECT_FALSE(dialog->Enabled(IDC_APPLY));
    EXPECT_EQ(dialog->Text(IDC_HELP_TEXT).substr(0, 5), "Note:");
}

TEST_F(SettingsDialog, FifteenDatabasesDisableAddAndRemovingOneEnablesIt) {
    std::string lines;
    for (int slot = 0; slot < 15; ++slot)
        lines += SlotLines(slot, dir.file("db" + std::to_string(slot) + ".zrb"));
    UseSettings(lines + "DesktopSearchIndexEnabled=1\n");
    const auto dialog = Open();
    EXPECT_EQ(dialog->Entries(IDC_DATABASES).size(), 15u);
    EXPECT_FALSE(dialog->Enabled(IDC_ADD));
    dialog->Select(IDC_DATABASES, 4);
    ASSERT_TRUE(dialog->Click(IDC_REMOVE));
    EXPECT_TRUE(dialog->Enabled(IDC_ADD));
    EXPECT_EQ(dialog->Selected(IDC_DATABASES), 3) << "the entry before the removed one";
    EXPECT_TRUE(dialog->Enabled(IDC_APPLY));
}

struct RebuildCase {
    const char* stored;
    int box;
    bool asked;
};

TEST_F(SettingsDialog, AsksToRebuildWhenWhatIsSentChanges) {
    const RebuildCase cases[] = {
        {"DesktopSearchIndexEncrypted=1\n", IDC_INDEX_ENCRYPTED, true},
        {"", IDC_INDEX_DRAFTS, true},
        {"", IDC_INDEX_DISCUSSION, true},
        {"DesktopSearchIndexDiscussion=1\n", IDC_INDEX_DISCUSSION, false},
        {"", IDC_INDEX_ON_IDLE, false},
        {"DesktopSearchNoIndexHistory=1\n", IDC_INDEX_HISTORY, false},
    };
    const std::string database = MakeDatabase("a.zrb");
    for (const RebuildCase& c : cases) {
        for (int answer : {IDNO, IDYES}) {
            UseSettings(SlotLines(0, database, aStamp) + "DesktopSearchIndexEnabled=1\n" +
                        c.stored);
            resetRequested = false;
            const auto dialog = Open();
            // The hidden boxes can only change in code; the dialog still stores them.
            SendDlgItemMessageA(dialog->window(), c.box, BM_SETCHECK,
                                dialog->Checked(c.box) ? BST_UNCHECKED : BST_CHECKED, 0);
            if (c.asked) {
                const auto box = dialog->ClickAndAnswer(IDC_OK, answer);
                EXPECT_EQ(box.caption, "Rebuild Index") << c.box;
            } else {
                ASSERT_TRUE(dialog->Click(IDC_OK));
            }
            ASSERT_TRUE(dialog->WaitClosed()) << c.box;
            const bool rebuilt = c.asked && answer == IDYES;
            EXPECT_EQ(resetRequested.load(), rebuilt) << c.box;
            EXPECT_EQ(StampOf(0), rebuilt ? "" : aStamp) << c.box;
            if (!c.asked)
                break;
        }
    }
}

TEST_F(SettingsDialog, CancelInTheRebuildQuestionStoresNothingAndKeepsTheDialogOpen) {
    UseSettings(SlotLines(0, MakeDatabase("a.zrb"), aStamp) + "DesktopSearchIndexEnabled=1\n");
    const std::string before = SettingsFileText();
    const auto dialog = Open();
    ASSERT_TRUE(dialog->Click(IDC_INDEX_DRAFTS));
    EXPECT_EQ(dialog->ClickAndAnswer(IDC_OK, IDCANCEL).caption, "Rebuild Index");
    EXPECT_TRUE(dialog->IsOpen());
    EXPECT_TRUE(dialog->Enabled(IDC_APPLY));
    EXPECT_EQ(SettingsFileText(), before);
    EXPECT_FALSE(GetIndexDrafts());
}

TEST_F(SettingsDialog, ReplacingADatabaseKeepsTheOtherTimeStamps) {
    const std::string a = MakeDatabase("a.zrb"), b = MakeDatabase("b.zrb"),
                      c = MakeDatabase("c.zrb"), added = MakeDatabase("new.zrb");
    UseSettings(SlotLines(0, a, aStamp) + SlotLines(1, b, aStamp) + SlotLines(2, c, aStamp) +
                "DesktopSearchIndexEnabled=1\n");
    const auto dialog = Open();
    dialog->Select(IDC_DATABASES, 1);
    ASSERT_TRUE(dialog->Click(IDC_REMOVE));
    PostMessageA(GetDlgItem(dialog->window(), IDC_ADD), BM_CLICK, 0, 0);
    ASSERT_TRUE(dialog->ChooseFile(added));
    dialog->Tick(IDT_STATUS_REFRESH);
    EXPECT_EQ(dialog->Entries(IDC_DATABASES), (std::vector<std::string>{a, c, added}));
    ASSERT_TRUE(dialog->Click(IDC_APPLY));
    EXPECT_FALSE(dialog->Enabled(IDC_APPLY));
    const std::vector<std::string> paths{SlotPathOf(0), SlotPathOf(1), SlotPathOf(2)};
    EXPECT_EQ(paths, (std::vector<std::string>{a, added, c}));
    EXPECT_EQ(StampOf(0), aStamp);
    EXPECT_EQ(StampOf(1), "") << "the freed slot's time stamp goes with it";
    EXPECT_EQ(StampOf(2), aStamp);
}

struct MinutesCase {
    std::string text;
    bool pasted;
    DWORD stored;
};

TEST_F(SettingsDialog, StoresTheMinutesFieldWithItsLimits) {
    const MinutesCase cases[] = {
        {"", false, 5},  {"42", false, 42}, {"7x", false, 7}, {"123", false, 12},
        {"x7", true, 5}, {"-5", true, 5},   {"0", false, 5},
    };
    for (const MinutesCase& c : cases) {
        UseSettings("DesktopSearchFreqMinutes=9\n");
        const auto dialog = Open();
        ((*dialog).*(c.pasted ? &DialogDriver::Paste : &DialogDriver::Type))(IDC_MINUTES, c.text);
        ASSERT_TRUE(dialog->Click(IDC_OK));
        ASSERT_TRUE(dialog->WaitClosed());
        EXPECT_EQ(GetFrequencyMinutes(), c.stored) << c.text;
        EXPECT_NE(SettingsFileText().find("DesktopSearchFreqMinutes=" + std::to_string(c.stored)),
                  std::string::npos)
            << c.text;
    }
}

struct StatusCase {
    const char* name;
    IndexStatus status;
    std::string stamp;
    std::string selected, processing, progress; // "" = hidden
};

TEST_F(SettingsDialog, StatusLinesFollowTheProgressRecordAndTheSlot) {
    const std::string database = MakeDatabase("a.zrb");
    const std::string resume = std::string(aStamp) + "|" + aStamp + "|5";
    const StatusCase cases[] = {
        {"idle, never indexed", {}, "", "Selected DB Status: Waiting to index", "", ""},
        {"idle, indexed",
         {},
         aStamp,
         "Selected DB Status: Last indexed " + std::string(aStamp),
         "",
         ""},
        {"interrupted",
         {},
         resume + "|3|10",
         "Selected DB Status: Paused on document 3 of 10 (30%)",
         "",
         ""},
        {"interrupted without counts", {}, resume, "Selected DB Status: Paused", "", ""},
        {"running",
         {0, 0, 0, 1, 10, 3, 0},
         "",
         "Selected DB Status: Processing",
         "Processing: " + database,
         "Status: Indexing document 3 of 10 (30%)"},
        {"resuming, no total",
         {1, 0, 0, 0, 0, 4, 0},
         "",
         "Selected DB Status: Processing",
         "Processing: " + database,
         "Status: Paused on document 4 of 4 (100%)"},
        {"history",
         {0, 0, 1, 1, 10, 3, 0},
         "",
         "Selected DB Status: Paused on document 3 of 10 (30%)",
         "Processing: Indexing history",
         ""},
        {"another slot",
         {0, 0, 0, 1, 10, 3, 1},
         "",
         "Selected DB Status: Waiting to index",
         "",
         ""},
    };
    for (const StatusCase& c : cases) {
        UseSettings(SlotLines(0, database, c.stamp) + "DesktopSearchIndexEnabled=1\n");
        indexStatus = c.status;
        const auto dialog = Open();
        dialog->Tick(IDT_STATUS_REFRESH);
        EXPECT_EQ(dialog->Text(IDC_SELECTED_STATUS), c.selected) << c.name;
        EXPECT_EQ(dialog->Visible(IDC_PROCESSING), !c.processing.empty()) << c.name;
        EXPECT_EQ(dialog->Visible(IDC_STATUS), !c.progress.empty()) << c.name;
        if (!c.processing.empty()) {
            EXPECT_EQ(dialog->Text(IDC_PROCESSING), c.processing) << c.name;
        }
        if (!c.progress.empty()) {
            EXPECT_EQ(dialog->Text(IDC_STATUS), c.progress) << c.name;
        }
    }
    indexStatus = {};
}

TEST_F(SettingsDialog, WhileTheEngineIsNotReadyTheStatusLineSaysWhy) {
    const std::string database = MakeDatabase("a.zrb");
    // The texts of the "Processing:" and "Status:" lines, "" for a hidden one.
    const auto shownLines = [&](bool enabled) {
        UseSettings(SlotLines(0, database) +
                    "DesktopSearchIndexEnabled=" + (enabled ? "1\n" : "0\n"));
        const auto dialog = Open();
        dialog->Tick(IDT_STATUS_REFRESH);
        const auto text = [&](int control) {
            return dialog->Visible(control) ? dialog->Text(control) : "";
        };
        return std::pair(text(IDC_PROCESSING), text(IDC_STATUS));
    };
    using Condition = EngineCondition;
    const struct {
        EngineState engine;
        std::string status;
    } cases[] = {
        {{}, ""},
        {{Condition::notInstalled}, "Status: Zendri Desktop Search is not installed."},
        {{Condition::notRegistered},
         "Status: The Velmora Tamsel component is not registered with Zendri Desktop Search."},
        {{Condition::notRunning}, "Status: Zendri Desktop Search is not running."},
        {{Condition::paused}, "Status: Zendri Desktop Search has paused indexing."},
        {{Condition::disabled},
         "Status: The Velmora Tamsel component is disabled in Zendri Desktop Search."},
        // Only the second engine is there: the primary, which the texts name, is not.
        {{Condition::notRunning, true}, "Status: Zendri Desktop Search is not installed."},
        {{Condition::ready, true}, ""},
    };
    for (const auto& c : cases) {
        engineState = c.engine;
        EXPECT_EQ(shownLines(true), std::pair(std::string(), c.status)) << c.status;
    }
    // A pass the engine's stop interrupted still names its database; switched off, nothing.
    engineState = EngineState{Condition::notRunning};
    indexStatus = {1, 0, 0, 0, 10, 4, 0};
    EXPECT_EQ(shownLines(true),
              std::pair("Processing: " + database,
                        std::string("Status: Zendri Desktop Search is not running.")));
    EXPECT_EQ(shownLines(false), std::pair(std::string(), std::string()));
    indexStatus = {};
    engineState = EngineState{};
}

TEST_F(SettingsDialog, AProposedDatabaseIsNotIndexedYet) {
    MakeDatabase("roster.zrb");
    const auto dialog = Open();
    EXPECT_EQ(dialog->Text(IDC_SELECTED_STATUS),
              "Selected DB Status: Not indexing yet. Push Apply to index.");
}

struct ConsentCase {
    const char* settings;
    int answer; // 0 = no question
    bool enabled;
};

TEST_F(SettingsDialog, SwitchingIndexingOnAsksForConsentUnlessSkipped) {
    const ConsentCase cases[] = {
        {"", IDYES, true},
        {"", IDNO, false},
        {"DesktopSearchSkipLegal=1\n", 0, true},
        {"DesktopSearchBuildQuarrix=1\n", 0, true},
    };
    for (const ConsentCase& c : cases) {
        UseSettings(c.settings);
        const auto dialog = Open();
        EXPECT_FALSE(dialog->Enabled(IDC_INDEX_ENCRYPTED));
        if (c.answer) {
            const auto box = dialog->ClickAndAnswer(IDC_ENABLE, c.answer);
            EXPECT_EQ(box.caption, "Zendri Desktop Search for Quarrix Velmora Tamsel");
            EXPECT_EQ(box.text.substr(box.text.size() - 24), "Do you wish to continue?");
        } else {
            ASSERT_TRUE(dialog->Click(IDC_ENABLE));
        }
        EXPECT_EQ(dialog->Checked(IDC_ENABLE), c.enabled) << c.settings;
        EXPECT_EQ(dialog->Enabled(IDC_INDEX_ENCRYPTED), c.enabled) << c.settings;
        EXPECT_EQ(dialog->Text(IDC_HELP_TEXT).substr(0, 5), c.enabled ? "Note:" : " ");
    }
}

TEST_F(SettingsDialog, AboutShowsTheProductAndItsVersion) {
    const auto dialog = Open();
    const auto box = dialog->ClickAndAnswer(IDC_ABOUT, IDOK);
    EXPECT_EQ(box.caption, "Quarrix Velmora Tamsel Plug-In for Zendri Desktop Search");
    EXPECT_NE(box.text.find("Version 1.0.0"), std::string::npos) << box.text;
    EXPECT_TRUE(dialog->IsOpen());
}

} // namespace
