#include "tamsel_desktop_plugin.h"

#include "com_server.h"

#include <new>

namespace tamsel {

TamselDesktopPlugin::TamselDesktopPlugin() {
    com_server::ObjectCreated();
}
TamselDesktopPlugin::~TamselDesktopPlugin() {
    com_server::ObjectDestroyed();
}

HRESULT TamselDesktopPlugin::Create(REFIID iid, void** out) {
    auto* plugin = new (std::nothrow) TamselDesktopPlugin;
    if (!plugin)
        return E_OUTOFMEMORY;
    plugin->AddRef();
    const HRESULT hr = plugin->QueryInterface(iid, out);
    plugin->Release();
    return hr;
}

HRESULT TamselDesktopPlugin::QueryInterface(REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    if (iid != __uuidof(IUnknown) && iid != __uuidof(IDispatch) &&
        iid != __uuidof(ITamselDesktopPlugin)) {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    *out = static_cast<ITamselDesktopPlugin*>(this);
    AddRef();
    return S_OK;
}

ULONG TamselDesktopPlugin::AddRef() {
    return InterlockedIncrement(&references_);
}

ULONG TamselDesktopPlugin::Release() {
    const ULONG left = InterlockedDecrement(&references_);
    if (left == 0)
        delete this;
    return left;
}

HRESULT TamselDesktopPlugin::GetTypeInfoCount(UINT* count) {
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT TamselDesktopPlugin::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info)
        *info = nullptr;
    return DISP_E_BADINDEX;
}

HRESULT TamselDesktopPlugin::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return DISP_E_UNKNOWNNAME;
}

HRESULT TamselDesktopPlugin::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                    UINT*) {
    return DISP_E_MEMBERNOTFOUND;
}

} // namespace tamsel
