// Each plug-in test starts from a fresh data directory and fresh process-wide state, with the
// real client library and the catalogue linked into the test program.
#pragma once
#include "ntamsel.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class PluginTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Replaces the settings file and loads the settings again.
    void UseSettings(const std::string& lines);
    std::string SettingsFileText() const;
    std::string Log() const;
    // The message lines of the log, without their time stamps.
    std::vector<std::string> LogLines() const;
    // Waits up to five seconds for a line to appear in the log.
    bool WaitForLogLine(const std::string& line) const;
    // Engine objects through COM, from whatever engines are registered (tests start without).
    static void UseInstalledEngines();
    // The key under the current user that this process's plug-in code reads the engine's
    // index creation time from.
    static std::string EngineIndexKey();

  public:
    // What the user-interface seam was asked to show.
    struct Box {
        std::string text, caption;
        unsigned type;
    };
    static std::vector<Box> boxes;
    // The dialogs the user-interface seam was asked to run (none runs).
    struct Dialog {
        LPCSTR resource;
        HWND owner;
    };
    static std::vector<Dialog> dialogs;

  protected:
    testing_support::TempDir dir;
};
