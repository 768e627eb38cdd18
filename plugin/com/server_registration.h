// The plug-in's part in the second engine, registered with the COM server.
#pragma once
#include <windows.h>

namespace tamsel {

// The engine part of DllRegisterServer. retry: this is the one repetition after the engine
// reported the component as already registered.
HRESULT RegisterWithSecondEngine(bool retry);
// The engine part of DllUnregisterServer; also what the client's first start and a new index of
// the second engine withdraw, leaving the COM server's own entries in place.
HRESULT UnregisterFromSecondEngine();

} // namespace tamsel
