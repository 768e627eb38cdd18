#include "engine/component_registration.h"
#include "host/exports.h"

// The COM server's own registry entries come with its classes; until then registering does
// nothing and says so, and unregistering only withdraws the component from the second engine.
extern "C" HRESULT WINAPI DllRegisterServer(void) {
    return E_NOTIMPL;
}

extern "C" HRESULT WINAPI DllUnregisterServer(void) {
    return tamsel::UnregisterFromSecondEngine();
}
