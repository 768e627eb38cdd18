#include "dialog_fixture.h"

#include "base/user_interface.h"
#include "settings/database_list.h"
#include "test_database.h"
#include "ui/settings_dialog.h"

void SettingsDialogTest::SetUp() {
    PluginTest::SetUp();
    tamsel::userInterface = {MessageBoxA, GetOpenFileNameA, DialogBoxParamA};
}

std::unique_ptr<testing_support::DialogDriver> SettingsDialogTest::Open() {
    return std::make_unique<testing_support::DialogDriver>(
        [] { tamsel::ShowSettingsDialog(nullptr); });
}

std::string SettingsDialogTest::MakeDatabase(const std::string& name) {
    return TestDatabase(dir.file(name)).path();
}

std::string SettingsDialogTest::SlotPathOf(int slot) const {
    char path[tamsel::slotPathLength + 1];
    tamsel::GetSlotPath(slot, path, sizeof path);
    return path;
}

std::string SettingsDialogTest::StampOf(int slot) const {
    char stamp[256];
    const std::string name =
        slot == 0 ? "DesktopSearchTimestamp" : "DesktopSearchTimestamp" + std::to_string(slot);
    StoreGetEnvString(name.c_str(), stamp, sizeof stamp);
    return stamp;
}

std::string SlotLines(int slot, const std::string& path, const std::string& stamp) {
    const std::string number = slot == 0 ? "" : std::to_string(slot);
    std::string lines = "DesktopSearchFilePath" + number + "=" + path + "\n";
    if (!stamp.empty())
        lines += "DesktopSearchTimestamp" + number + "=" + stamp + "\n";
    return lines;
}
