// The plug-in as a component of the search engines, and whether each engine is ready.
#pragma once
#include "state/engine_condition.h"

#include <windows.h>

namespace tamsel {

constexpr WORD engineReadyBit = 0x8000;
constexpr WORD engineInstalledBit = 0x0001;
constexpr WORD engineRegisteredBit = 0x0002;
constexpr WORD enginePausedBit = 0x2000; // runs, but its indexing is paused

// Status words of the component checks (see the bits above). Each check sends the engine an
// empty probe event when the component is registered. Raise HResultError{E_OUTOFMEMORY} when
// the names for the engine cannot be allocated.
WORD CheckPrimaryEngine();
WORD CheckSecondEngine();
// What the two checks' words tell the user: the primary engine's state while it is installed,
// else the second's. The second word counts only when the primary is not ready.
EngineState EngineStateOf(WORD primary, WORD second);

// 0 when RegisterComponent was called, else 0xFFFFFFFF. A call while an earlier registration
// of this process stands does nothing; an attempt that never reached the engine may be
// repeated.
DWORD RegisterWithPrimaryEngine();
void UnregisterFromPrimaryEngine();

} // namespace tamsel
