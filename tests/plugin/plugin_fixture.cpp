#include "plugin_fixture.h"

#include "base/user_interface.h"
#include "catalogue/catalogue.h"
#include "engine/engine_factory.h"
#include "engine/engine_state.h"
#include "file_text.h"
#include "host/host_state.h"
#include "indexing/clock.h"
#include "indexing/note_callback.h"
#include "ntamsel.h"
#include "settings/client_settings.h"
#include "settings/engine_index_check.h"
#include "settings/index_type_mask.h"
#include "state/engine_condition.h"
#include "state/index_status.h"
#include "state/thread_flags.h"

#include <algorithm>
#include <sstream>

std::vector<PluginTest::Box> PluginTest::boxes;
std::vector<PluginTest::Dialog> PluginTest::dialogs;

namespace {

int WINAPI RecordBox(HWND, LPCSTR text, LPCSTR caption, UINT type) {
    PluginTest::boxes.push_back({text ? text : "", caption ? caption : "", type});
    return IDOK;
}

INT_PTR WINAPI RecordDialog(HINSTANCE, LPCSTR resource, HWND owner, DLGPROC, LPARAM) {
    PluginTest::dialogs.push_back({resource, owner});
    return IDCANCEL;
}

// Unless a test hands in engines, none is installed: the indexing thread of a test must not
// reach whatever engine another test process has registered meanwhile.
HRESULT NoEngine(REFCLSID, DWORD, REFIID, void** out) {
    *out = nullptr;
    return REGDB_E_CLASSNOTREG;
}

const tamsel::EngineFactory realEngineFactory = tamsel::engineFactory;
const tamsel::NoteHandlers realNoteHandlers = tamsel::noteHandlers;
const char* const realEngineIndexKey = tamsel::engineIndexKey;

// Each test process reads the engine's index creation time from a key of its own, so that
// engines registered by other tests meanwhile do not empty its time stamps.
const std::string testEngineIndexKey =
    "Software\\TamselTests\\EngineIndex" + std::to_string(GetCurrentProcessId());

} // namespace

void PluginTest::SetUp() {
    ASSERT_EQ(StoreClientInit(dir.path().c_str(), 0), STORE_NOERROR);
    tamsel::InitCatalogue(GetModuleHandleW(nullptr));
    tamsel::userInterface.messageBox = RecordBox;
    tamsel::userInterface.dialogBoxParam = RecordDialog;
    boxes.clear();
    dialogs.clear();
    tamsel::addinStarted = false;
    tamsel::stopRequested = false;
    tamsel::wakeRequested = false;
    tamsel::resetRequested = false;
    tamsel::nextWaitMs = 0;
    tamsel::ClearIndexStatus();
    tamsel::engineState = tamsel::EngineState{};
    tamsel::noteHandlers = realNoteHandlers;
    RegDeleteTreeA(HKEY_CURRENT_USER, testEngineIndexKey.c_str());
    tamsel::engineIndexKey = testEngineIndexKey.c_str();
    tamsel::IndexTypeMask = tamsel::initialIndexTypeMask;
    tamsel::SetJustRegistered(0);
    tamsel::engineFactory.createInstance = NoEngine;
    tamsel::registrationAttempted = false;
    tamsel::engineUnavailable = false;
    tamsel::LoadSettings();
}

void PluginTest::TearDown() {
    StoreClientInit(nullptr, 0);
    tamsel::userInterface = {MessageBoxA, GetOpenFileNameA, DialogBoxParamA};
    tamsel::engineFactory = realEngineFactory;
    tamsel::noteHandlers = realNoteHandlers;
    RegDeleteTreeA(HKEY_CURRENT_USER, testEngineIndexKey.c_str());
    tamsel::engineIndexKey = realEngineIndexKey;
}

std::string PluginTest::EngineIndexKey() {
    return testEngineIndexKey;
}

void PluginTest::UseSettings(const std::string& lines) {
    testing_support::WriteFileText(dir.file("tamsel.ini"), "[Tamsel]\n" + lines);
    tamsel::LoadSettings();
}

std::string PluginTest::SettingsFileText() const {
    return testing_support::ReadFileText(dir.file("tamsel.ini"));
}
std::string PluginTest::Log() const {
    return testing_support::ReadFileText(dir.file("tamsel.log"));
}

std::vector<std::string> PluginTest::LogLines() const {
    std::vector<std::string> lines;
    std::istringstream log(Log());
    for (std::string line; std::getline(log, line);)
        lines.push_back(line.size() > 24 ? line.substr(24) : line);
    return lines;
}

void PluginTest::UseInstalledEngines() {
    tamsel::engineFactory = realEngineFactory;
}

bool PluginTest::WaitForLogLine(const std::string& wanted) const {
    for (int attempt = 0; attempt < 500; ++attempt) {
        const auto lines = LogLines();
        if (std::find(lines.begin(), lines.end(), wanted) != lines.end())
            return true;
        Sleep(10);
    }
    return false;
}
