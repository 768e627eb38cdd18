// The classes one engine DLL serves, and the module entry points built on them.
#pragma once
#include "com_server.h"

#include <windows.h>

#include <span>

namespace engine_com {

using com_server::CreateFunction;

struct ClassEntry {
    const CLSID& clsid;
    const wchar_t* name;
    CreateFunction create;
};

HRESULT GetClassObject(std::span<const ClassEntry> classes, REFCLSID clsid, REFIID iid, void** out);
// Writes HKCR\CLSID\{clsid} with InprocServer32 = module path, ThreadingModel "Both".
HRESULT RegisterClasses(std::span<const ClassEntry> classes, HMODULE module);
// Removes the classes' keys, leaving alone a class that another DLL registered since.
HRESULT UnregisterClasses(std::span<const ClassEntry> classes, HMODULE module);

} // namespace engine_com
