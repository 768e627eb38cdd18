#include "class_factory.h"

#include "base/object_count.h"

#include <new>

namespace tamsel {

ClassFactory::ClassFactory(CreateFunction create) : create_(create) {
    ObjectCreated();
}
ClassFactory::~ClassFactory() {
    ObjectDestroyed();
}

HRESULT ClassFactory::Create(CreateFunction create, REFIID iid, void** out) {
    auto* factory = new (std::nothrow) ClassFactory(create);
    if (!factory)
        return E_OUTOFMEMORY;
    factory->AddRef();
    const HRESULT hr = factory->QueryInterface(iid, out);
    factory->Release();
    return hr;
}

HRESULT ClassFactory::QueryInterface(REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    if (iid != __uuidof(IUnknown) && iid != __uuidof(IClassFactory)) {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    *out = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
}

ULONG ClassFactory::AddRef() {
    return InterlockedIncrement(&references_);
}

ULONG ClassFactory::Release() {
    const ULONG left = InterlockedDecrement(&references_);
    if (left == 0)
        delete this;
    return left;
}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    return create_(iid, out);
}

HRESULT ClassFactory::LockServer(BOOL lock) {
    tamsel::LockServer(lock != FALSE);
    return S_OK;
}

} // namespace tamsel
