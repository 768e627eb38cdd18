// The document kinds and engine features in use in this process. Never persisted: it starts
// full at load and only loses bits when the engine turns out not to support a feature.
#pragma once
#include <windows.h>

#include <atomic>

namespace tamsel {

constexpr DWORD indexTypeMail = 0x001;
constexpr DWORD indexTypeSpare = 0x002; // an event kind no converter uses
constexpr DWORD indexTypeContacts = 0x004;
constexpr DWORD indexTypeCalendar = 0x010;
constexpr DWORD indexTypeTasks = 0x020;
constexpr DWORD indexTypeOther = 0x040;
constexpr DWORD indexTypeJournal = 0x100;
constexpr DWORD indexFeatureUrl = 0x200;
constexpr DWORD indexFeatureOtherData = 0x400;
constexpr DWORD indexFeatureDeletions = 0x800;
constexpr DWORD initialIndexTypeMask = 0x00000F77;

extern std::atomic<DWORD> IndexTypeMask;

// Mail is always enabled; any other query is enabled when it shares a bit with the mask.
BYTE IsIndexTypeEnabled(DWORD bits);
void SetIndexTypeEnabled(DWORD bits, BYTE on);

// Passes ended by the engine's send-delayed answer since the idle gate last let one through.
void CountSendDelayed();
// Whether a converter may use the normal send flags during a first full index.
BYTE IdleSendGate();

} // namespace tamsel
