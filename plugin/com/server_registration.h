// The COM server's registration: its own registry entries and its part in the second engine.
#pragma once
#include <windows.h>

namespace tamsel {

// What DllUnregisterServer does; also run on the client's first start and when the second
// engine's index was made anew. Answers the second engine's result.
HRESULT UnregisterServer();

// The engine part of the server's registration. retry: this is the one repetition after the
// engine reported the component as already registered.
HRESULT RegisterWithSecondEngine(bool retry);
HRESULT UnregisterFromSecondEngine();

} // namespace tamsel
