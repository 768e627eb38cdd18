#include "server_registration.h"

#include <olectl.h>

namespace tamsel {

// The server's own registry entries come with its classes; until then unregistering only
// withdraws the component from the second engine.
HRESULT UnregisterServer() {
    return UnregisterFromSecondEngine();
}

} // namespace tamsel

// Registering does nothing yet and says so.
extern "C" HRESULT WINAPI DllRegisterServer(void) {
    return E_NOTIMPL;
}

extern "C" HRESULT WINAPI DllUnregisterServer(void) {
    return tamsel::UnregisterServer();
}
