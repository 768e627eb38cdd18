// ZendriDS.dll: the primary engine's registrar and event factory, and the second engine's
// query object over the same index.
#include "class_table.h"
#include "module_count.h"
#include "query_object.h"
#include "zendri_event_factory.h"
#include "zendri_registrar.h"

namespace {

HMODULE thisModule = nullptr;

const engine_com::ClassEntry kClasses[] = {
    {__uuidof(ZendriRegistrar), L"Zendri Desktop Search Registrar", zendri::ZendriRegistrar::Create},
    {__uuidof(ZendriEventFactory), L"Zendri Desktop Search Event Factory",
     zendri::ZendriEventFactory::Create},
    {__uuidof(OrvennaQuery), L"Orvenna Desktop Query", engine_query::QueryObject::Create},
};

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        thisModule = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    return engine_com::GetClassObject(kClasses, clsid, iid, out);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return engine_com::CanUnload() ? S_OK : S_FALSE;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
    return engine_com::RegisterClasses(kClasses, thisModule);
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
    return engine_com::UnregisterClasses(kClasses, thisModule);
}
