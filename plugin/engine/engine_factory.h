// Every engine object is made through this table, so that tests can hand in objects that
// answer whatever they need.
#pragma once
#include "com_owners.h"

#include <windows.h>

namespace tamsel {

struct EngineFactory {
    HRESULT (*createInstance)(REFCLSID classId, DWORD context, REFIID interfaceId, void** out);
};

// The table in use; COM's object creation unless a test has replaced it.
extern EngineFactory engineFactory;

// Making an object through COM looks its class up in the registry each time, several round
// trips to the system under Wine for every document. The one thread that sends many documents
// keeps the class objects it used (until it forgets them or stops keeping them); other threads
// ask COM each time.
void KeepEngineClassObjects(bool keep);
// An engine installed or removed since is found by the next object made.
void ForgetEngineClassObjects();

// Class contexts the engines are asked for: the primary engine's objects and the second
// engine's registrar from any kind of server, the second engine's factory and query object
// only from a server in this process.
constexpr DWORD anyServerContext =
    CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
constexpr DWORD inProcessContext = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER;
static_assert(anyServerContext == 0x17);

template <typename Interface>
HRESULT CreateEngineObject(REFCLSID classId, DWORD context, ComPtr<Interface>& object) {
    object.Reset();
    return engineFactory.createInstance(classId, context, __uuidof(Interface),
                                        reinterpret_cast<void**>(object.ReleaseAndGetAddressOf()));
}

} // namespace tamsel
