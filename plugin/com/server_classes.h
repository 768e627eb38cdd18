// What the COM server serves and registers: its two classes with their registry scripts, and
// the AppID the scripts name.
#pragma once
#include "com_server.h"

#include <windows.h>

#include <span>

namespace tamsel {

inline constexpr wchar_t appId[] = L"{0C9E5D37-A6F1-4B28-93D4-E85B12F7C06A}";

struct ServerClass {
    const CLSID& classId;
    com_server::CreateFunction create;
    WORD registryScript; // resource id in server_resources.h
};

std::span<const ServerClass> ServerClasses();

// CLASS_E_CLASSNOTAVAILABLE for a class the server does not serve.
HRESULT GetServerClassObject(REFCLSID classId, REFIID iid, void** out);

} // namespace tamsel
