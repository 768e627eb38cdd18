// The DLL's module: process attach, class objects and the unload check.
#include "catalogue/catalogue.h"
#include "server_registration.h"
#include "settings/database_list.h"

#include <windows.h>

#include <objbase.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        tamsel::InitCatalogue(instance);
        tamsel::withdrawServerRegistration = tamsel::UnregisterServer;
    }
    return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID, REFIID, LPVOID* object) {
    if (object)
        *object = nullptr;
    return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" HRESULT WINAPI DllCanUnloadNow(void) {
    return S_OK;
}
