// Behaviour switches of both engines, read from HKCU\Software\Zendri\DesktopSearch\Test so
// that tests can drive every answer of the engines (value names in engines/README.md).
#pragma once
#include <windows.h>

#include <string>

namespace engine_core {

inline constexpr wchar_t kSwitchesKey[] = L"Software\\Zendri\\DesktopSearch\\Test";

struct Switches {
    bool serviceStopped = false;    // "ServiceStopped"
    bool paused = false;            // "IndexingPaused"
    bool componentDisabled = false; // "ComponentDisabled"
    std::wstring failProperty;      // "FailProperty": AddProperty of this name fails ...
    HRESULT failPropertyCode = 0;   // "FailPropertyCode": ... with this code
    HRESULT failSendCode = 0;       // "FailSendCode": Send fails with this code ...
    DWORD failSendFrom = 1;         // "FailSendFrom": ... from this send on (1 = the next) ...
    DWORD failSendCount = 0;        // "FailSendCount": ... for this many sends (0 = always)
    DWORD maxPropertyBytes = 0;     // "MaxPropertyBytes": larger values fail (0 = no limit)
    DWORD maxEventBytes = 0;        // "MaxEventBytes": larger events fail (0 = no limit)

    bool operator==(const Switches&) const = default;
};

Switches ReadSwitches();

// Counts the sends of this process since the switches last changed, so that "from the
// N-th send on" starts counting when a test sets it. Returns the number of this send.
DWORD CountSend(const Switches& switches);

} // namespace engine_core
