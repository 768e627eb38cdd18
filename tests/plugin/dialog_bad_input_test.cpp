#include "base/user_interface.h"
#include "dialog_fixture.h"
#include "file_text.h"
#include "host/exports.h"
#include "settings/client_settings.h"
#include "settings/database_list.h"
#include "test_database.h"
#include "ui/settings_dialog.h"

#include "unique_resource.h"

#include <vector>

using namespace tamsel;
using testing_support::DialogDriver;

namespace {

class SettingsDialogInput : public SettingsDialogTest {};

const char* chosenFile = "";
BOOL WINAPI ChooseGivenFile(LPOPENFILENAMEA dialog) {
    lstrcpynA(dialog->lpstrFile, chosenFile, int(dialog->nMaxFile));
    return TRUE;
}

struct RejectedCase {
    std::string file;
    std::string message;
};

TEST_F(SettingsDialogInput, APathTheCheckRejectsShowsItsMessageAndLeavesTheList) {
    testing_support::WriteFileText(dir.file("text.zrb"), "not a database");
    TestDatabase(dir.file("unusable.zrb")).SetFlags(0);
    const RejectedCase cases[] = {
        {dir.file("text.zrb"), "The file is not an ZRB database."},
        {dir.file("unusable.zrb"), "The database with the given path can not be opened. Please "
                                   "verify the path and permissions."},
        {"server!!mail.zrb", "Only local databases can be indexed."},
    };
    for (const RejectedCase& c : cases) {
        const bool remote = c.file.find("!!") != std::string::npos;
        if (remote) // no file dialog returns such a path; the check still refuses it
            userInterface.getOpenFileName = ChooseGivenFile, chosenFile = c.file.c_str();
        const auto dialog = Open();
        PostMessageA(GetDlgItem(dialog->window(), IDC_ADD), BM_CLICK, 0, 0);
        if (!remote) {
            ASSERT_TRUE(dialog->ChooseFile(c.file));
        }
        const auto box = dialog->Answer(IDOK);
        EXPECT_EQ(box.text, c.message) << c.file;
        EXPECT_TRUE(dialog->Entries(IDC_DATABASES).empty()) << c.file;
    }
}

LRESULT CALLBACK RefusingList(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == LB_ADDSTRING)
        return LB_ERRSPACE;
    const auto original = reinterpret_cast<WNDPROC>(GetPropA(list, "original"));
    return CallWindowProcA(original, list, message, wParam, lParam);
}

TEST_F(SettingsDialogInput, AListThatRefusesTheEntryIsReported) {
    const std::string database = MakeDatabase("a.zrb");
    const auto dialog = Open();
    const HWND list = GetDlgItem(dialog->window(), IDC_DATABASES);
    SetPropA(list, "original", reinterpret_cast<HANDLE>(GetWindowLongPtrA(list, GWLP_WNDPROC)));
    SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RefusingList));
    PostMessageA(GetDlgItem(dialog->window(), IDC_ADD), BM_CLICK, 0, 0);
    ASSERT_TRUE(dialog->ChooseFile(database));
    const auto box = dialog->Answer(IDOK);
    EXPECT_EQ(box.caption, "error");
    EXPECT_EQ(box.text, "Error adding file to box");
}

TEST_F(SettingsDialogInput, OnlyTheFirstFifteenEntriesAreStored) {
    const auto dialog = Open();
    for (int entry = 0; entry < 16; ++entry)
        SendDlgItemMessageA(dialog->window(), IDC_DATABASES, LB_ADDSTRING, 0,
                            LPARAM(dir.file("db" + std::to_string(entry) + ".zrb").c_str()));
    ASSERT_TRUE(dialog->Click(IDC_OK));
    ASSERT_TRUE(dialog->WaitClosed());
    EXPECT_EQ(SlotPathOf(14), dir.file("db14.zrb"));
    EXPECT_EQ(FindSlotByPath(dir.file("db15.zrb").c_str()), -1);
}

struct KeptPathCase {
    const char* name;
    std::string path; // in the client's character set
};

TEST_F(SettingsDialogInput, ConfiguredPathsSurviveOkWithTheirTimeStamps) {
    const std::string base = dir.path() + "\\";
    const KeptPathCase cases[] = {
        {"256 characters", base + std::string(256 - base.size() - 4, 'p') + ".zrb"},
        {"accented", base + "\xC3\x98"
                            "degaard.zrb"},
        {"not in the code page", base + "\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1.zrb"},
        {"removed from disk", base + "gone.zrb"},
    };
    for (const KeptPathCase& c : cases) {
        UseSettings(SlotLines(0, c.path, aStamp) + SlotLines(1, base + "other.zrb", aStamp) +
                    "DesktopSearchIndexEnabled=1\n");
        const auto dialog = Open();
        EXPECT_FALSE(dialog->Enabled(IDC_APPLY)) << c.name << ": nothing differs";
        dialog->Select(IDC_DATABASES, 0);
        EXPECT_EQ(dialog->Text(IDC_SELECTED_STATUS).substr(0, 33),
                  "Selected DB Status: Last indexed ")
            << c.name;
        ASSERT_TRUE(dialog->Click(IDC_INDEX_DRAFTS));
        EXPECT_EQ(dialog->ClickAndAnswer(IDC_OK, IDNO).caption, "Rebuild Index") << c.name;
        ASSERT_TRUE(dialog->WaitClosed());
        EXPECT_EQ(SlotPathOf(0), c.path) << c.name;
        EXPECT_EQ(StampOf(0), aStamp) << c.name;
        EXPECT_EQ(StampOf(1), aStamp) << c.name;
    }
}

TEST_F(SettingsDialogInput, AnAddedPathIsStoredInTheClientsCharacterSet) {
    const std::string clientPath = dir.path() + "\\\xC3\x98"
                                                "degaard.zrb";
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_UTF8, 0, clientPath.c_str(), -1, wide, MAX_PATH);
    char platform[MAX_PATH];
    WideCharToMultiByte(CP_ACP, 0, wide, -1, platform, MAX_PATH, nullptr, nullptr);
    TestDatabase database(clientPath);
    const auto dialog = Open();
    PostMessageA(GetDlgItem(dialog->window(), IDC_ADD), BM_CLICK, 0, 0);
    ASSERT_TRUE(dialog->ChooseFile(platform));
    dialog->Tick(IDT_STATUS_REFRESH);
    EXPECT_EQ(dialog->Entries(IDC_DATABASES), std::vector<std::string>{platform});
    ASSERT_TRUE(dialog->Click(IDC_OK));
    ASSERT_TRUE(dialog->WaitClosed());
    EXPECT_EQ(SlotPathOf(0), clientPath);
}

TEST_F(SettingsDialogInput, ASettingsFileThatCannotBeWrittenChangesNothingAndIsReported) {
    UseSettings(SlotLines(0, MakeDatabase("a.zrb"), aStamp) + "DesktopSearchIndexEnabled=1\n");
    const std::string before = SettingsFileText();
    SetJustRegistered(1); // the menu command registered with the engine: no rebuild question
    const auto dialog = Open();
    ASSERT_TRUE(dialog->Click(IDC_REMOVE));
    ASSERT_TRUE(dialog->Click(IDC_INDEX_ON_IDLE));
    {
        // Held open without sharing deletion: the file cannot be replaced.
        const win32::UniqueFile held(CreateFileA(dir.file("tamsel.ini").c_str(), GENERIC_READ,
                                                 FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                                 nullptr));
        ASSERT_TRUE(held);
        const auto box = dialog->ClickAndAnswer(IDC_OK, IDOK);
        EXPECT_EQ(box.text.substr(0, 32), "The settings could not be saved.");
        EXPECT_TRUE(dialog->IsOpen());
        EXPECT_EQ(SettingsFileText(), before);
        EXPECT_EQ(SlotPathOf(0), dir.file("a.zrb")) << "nor in the process";
        EXPECT_FALSE(GetIndexOnIdle());
        EXPECT_TRUE(GetJustRegistered()) << "the registration still to be confirmed";
    }
    ASSERT_TRUE(dialog->Click(IDC_OK)) << "once the file can be written again";
    ASSERT_TRUE(dialog->WaitClosed());
    EXPECT_TRUE(GetIndexOnIdle());
    EXPECT_FALSE(GetJustRegistered());
    EXPECT_EQ(SlotPathOf(0), "");
}

TEST_F(SettingsDialogInput, ALockedConfigurationCannotBeChanged) {
    UseSettings(SlotLines(0, MakeDatabase("a.zrb")) + "AdminODSLock=1\n");
    const std::string before = SettingsFileText();
    const auto dialog = Open();
    EXPECT_FALSE(dialog->Visible(IDC_ADD));
    EXPECT_FALSE(dialog->Visible(IDC_REMOVE));
    for (int control : {IDC_ENABLE, IDC_INDEX_ENCRYPTED, IDC_REINDEX_ALL, IDC_APPLY})
        EXPECT_FALSE(dialog->Click(control)) << control;
    EXPECT_FALSE(dialog->Enabled(IDC_MINUTES));
    ASSERT_TRUE(dialog->Click(IDC_OK));
    ASSERT_TRUE(dialog->WaitClosed());
    EXPECT_EQ(SettingsFileText(), before);
}

TEST_F(SettingsDialogInput, TheIndexingThreadMayStopWhileTheDialogIsOpen) {
    UseSettings(SlotLines(0, MakeDatabase("a.zrb")) + "DesktopSearchIndexEnabled=1\n");
    ASSERT_EQ(TamselDesktopIndex(), 1);
    const auto dialog = Open();
    EXPECT_EQ(TamselDesktopTerm(), 1);
    dialog->Tick(IDT_STATUS_REFRESH);
    ASSERT_TRUE(dialog->Click(IDC_REINDEX_ALL));
    ASSERT_TRUE(dialog->Click(IDC_OK));
    EXPECT_TRUE(dialog->WaitClosed());
}

BOOL CALLBACK CollectShownDialog(HWND window, LPARAM found) {
    char className[16];
    GetClassNameA(window, className, sizeof className);
    if (IsWindowVisible(window) && lstrcmpA(className, "#32770") == 0)
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

TEST_F(SettingsDialogInput, ASecondMenuCommandBringsTheOpenDialogForward) {
    const auto dialog = Open();
    ShowSettingsDialog(nullptr); // returns at once instead of opening another
    std::vector<HWND> open;
    EnumThreadWindows(dialog->threadId(), CollectShownDialog, reinterpret_cast<LPARAM>(&open));
    EXPECT_EQ(open, std::vector<HWND>{dialog->window()});
}

} // namespace
