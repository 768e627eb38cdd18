// The plug-in as a component of the search engines, and whether each engine is ready.
#pragma once
#include <windows.h>

namespace tamsel {

constexpr WORD engineReadyBit = 0x8000;
constexpr WORD engineInstalledBit = 0x0001;
constexpr WORD engineRegisteredBit = 0x0002;

WORD CheckPrimaryEngine();
WORD CheckSecondEngine();
DWORD RegisterWithPrimaryEngine();
void UnregisterFromPrimaryEngine();
HRESULT RegisterWithSecondEngine(bool retry);
HRESULT UnregisterFromSecondEngine();

} // namespace tamsel
