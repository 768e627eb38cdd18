// DllMain and the exports of an in-process COM server, for the classes of kServer.
#include "com_server.h"
#include "server_definition.h"

namespace {
HMODULE thisModule = nullptr;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        thisModule = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    return engine_com::GetClassObject(engine_com::kServer.classes, clsid, iid, out);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return com_server::ServerInUse() ? S_FALSE : S_OK;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
    const HRESULT hr = engine_com::RegisterClasses(engine_com::kServer.classes, thisModule);
    if (FAILED(hr) || !engine_com::kServer.afterRegister)
        return hr;
    return engine_com::kServer.afterRegister();
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
    return engine_com::UnregisterClasses(engine_com::kServer.classes, thisModule);
}
