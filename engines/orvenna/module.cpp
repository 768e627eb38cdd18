// The second engine's DLL: event factory, registrar and query object. Registering it
// makes the engine's index.
#include "class_table.h"
#include "module_count.h"
#include "orvenna_event_factory.h"
#include "orvenna_index.h"
#include "orvenna_registrar.h"
#include "query_object.h"

namespace {

HMODULE thisModule = nullptr;

const engine_com::ClassEntry kClasses[] = {
    {__uuidof(OrvennaEventFactory), L"Orvenna Desktop Event Factory",
     orvenna::OrvennaEventFactory::Create},
    {__uuidof(OrvennaRegistrar), L"Orvenna Desktop Registrar", orvenna::OrvennaRegistrar::Create},
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
    if (const HRESULT hr = engine_com::RegisterClasses(kClasses, thisModule); FAILED(hr))
        return hr;
    return engine_core::EnsureOrvennaIndex();
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
    return engine_com::UnregisterClasses(kClasses, thisModule);
}
