// The plug-in's part in the second engine, registered with the COM server.
#pragma once
#include <windows.h>

namespace tamsel {

// The engine part of DllRegisterServer. retry: this is the one repetition after the engine
// reported the component as already registered.
HRESULT RegisterWithSecondEngine(bool retry);
// The engine part of DllUnregisterServer, leaving the COM server's own entries in place.
HRESULT UnregisterFromSecondEngine();
// What the client's first start and a new index of the second engine do: the registration
// with the second engine is withdrawn, and made again at once (with a new query cookie) when
// the COM server is installed from this module. S_FALSE when it is not.
HRESULT RenewSecondEngineRegistration();

} // namespace tamsel
