// The real settings dialog, run modally on a thread of its own as on the client's
// user-interface thread, with its real message boxes and open-file dialog, driven from the
// test's thread.
#pragma once
#include "dialog_driver.h"
#include "plugin_fixture.h"
#include "ui/settings_dialog_ids.h"

#include <memory>
#include <string>

class SettingsDialogTest : public PluginTest {
  protected:
    void SetUp() override;

    std::unique_ptr<testing_support::DialogDriver> Open();
    // A real database in the data directory; returns its path.
    std::string MakeDatabase(const std::string& name);
    std::string SlotPathOf(int slot) const;
    // "DesktopSearchTimestamp" + n as the settings file holds it.
    std::string StampOf(int slot) const;
};

// Settings lines configuring slot n with a path and a time stamp.
std::string SlotLines(int slot, const std::string& path, const std::string& stamp = "");
constexpr const char* aStamp = "2026-12-08 18:00:00.00 +00:00";
