// Plug-in tests against the real engine DLLs, loaded beside the test with an index folder of
// their own and a clean set of component keys and behaviour switches.
#pragma once
#include "engine_keys.h"
#include "plugin_fixture.h"
#include "program_run.h"

#include <string>

class RealEngines : public PluginTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A behaviour switch of both engines (HKCU\Software\Zendri\DesktopSearch\Test).
    static void SetSwitch(const wchar_t* name, DWORD value);
    static void SetSwitchText(const wchar_t* name, const std::wstring& value);
    static void ClearSwitches();
    static testing_support::ProgramRun Zsearch(const std::wstring& arguments);
    static std::wstring ProgramFolder();

    EngineTurn turn;
    ClientPathValue clientPath;
    testing_support::TempDir index;

  private:
    bool comReady_ = false;
};
