#include "component_registration.h"

namespace tamsel {

// Until the engine bridge exists, no engine is installed: nothing registers, nothing indexes.
WORD CheckPrimaryEngine() { return 0; }
WORD CheckSecondEngine() { return 0; }
DWORD RegisterWithPrimaryEngine() { return 0xFFFFFFFF; }
void UnregisterFromPrimaryEngine() {}
HRESULT RegisterWithSecondEngine(bool) { return REGDB_E_CLASSNOTREG; }
HRESULT UnregisterFromSecondEngine() { return REGDB_E_CLASSNOTREG; }

} // namespace tamsel
