// Every engine object is made through this table, so that tests can hand in objects that
// answer whatever they need.
#pragma once
#include "com_owners.h"

#include <windows.h>

namespace tamsel {

struct EngineFactory {
    HRESULT (*createInstance)(REFCLSID classId, DWORD context, REFIID interfaceId, void** out);
};

// The table in use; CoCreateInstance unless a test has replaced it.
extern EngineFactory engineFactory;

// Class contexts the engines are asked for: the primary engine's objects and the second
// engine's registrar with 0x17, the second engine's factory and query object with 3.
constexpr DWORD primaryContext = 0x17;
constexpr DWORD secondContext = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER;

template <typename Interface>
HRESULT CreateEngineObject(REFCLSID classId, DWORD context, ComPtr<Interface>& object) {
    object.Reset();
    return engineFactory.createInstance(classId, context, __uuidof(Interface),
                                        reinterpret_cast<void**>(object.ReleaseAndGetAddressOf()));
}

} // namespace tamsel
