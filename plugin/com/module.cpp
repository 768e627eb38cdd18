// The DLL's module: process attach, class objects and the unload check.
#include "catalogue/catalogue.h"
#include "catalogue/failure_log.h"
#include "com_result.h"
#include "com_server.h"
#include "server_classes.h"
#include "server_registration.h"
#include "settings/database_list.h"

#include <windows.h>

#include <objbase.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        tamsel::InitCatalogue(instance);
        com_server::UnexpectedFailureReport() = tamsel::LogUnexpectedFailure;
        tamsel::withdrawServerRegistration = tamsel::RenewSecondEngineRegistration;
    }
    return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID classId, REFIID iid, LPVOID* out) {
    return tamsel::GetServerClassObject(classId, iid, out);
}

extern "C" HRESULT WINAPI DllCanUnloadNow(void) {
    return com_server::ServerInUse() ? S_FALSE : S_OK;
}
