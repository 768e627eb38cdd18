// Both engines registered as COM servers of the prefix with an index folder of their own, and
// the client installed, for tests that run the real client against them. Holds the engines'
// turn for its whole life and unregisters the engines when it goes.
#pragma once
#include "engine_turn.h"
#include "program_run.h"
#include "temp_dir.h"

#include <string>

namespace testing_support {

class InstalledEngines {
  public:
    InstalledEngines(); // throws when an engine or the client cannot be installed
    ~InstalledEngines();
    InstalledEngines(const InstalledEngines&) = delete;
    InstalledEngines& operator=(const InstalledEngines&) = delete;

    // zsearch.exe of the build with these arguments.
    ProgramRun Zsearch(const std::wstring& arguments) const;
    // A behaviour switch of both engines (HKCU\Software\Zendri\DesktopSearch\Test).
    static void SetSwitch(const wchar_t* name, DWORD value);
    static void SetSwitch(const wchar_t* name, const std::wstring& text);
    static void ClearSwitches();
    // The folder of the running test program, where the build puts every program.
    static std::wstring ProgramFolder();
    // The engines' index folder (documents.jsonl, their log of every add and remove).
    const std::string& IndexFolder() const { return folder_; }
    // Points both engines at another index folder, for a volume that a test makes full or
    // read-only.
    void MoveIndexTo(const std::string& folder);

  private:
    EngineTurn turn_;
    TempDir index_;
    std::string folder_ = index_.path();
};

} // namespace testing_support
