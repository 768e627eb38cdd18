#include "com_server.h"

#include <new>

namespace com_server {
namespace {

// Objects and locks together: either keeps the module loaded.
LONG outstanding = 0;

class ClassFactory : public IClassFactory {
  public:
    explicit ClassFactory(CreateFunction create) : create_(create) { ObjectCreated(); }
    virtual ~ClassFactory() { ObjectDestroyed(); }
    ClassFactory(const ClassFactory&) = delete;
    ClassFactory& operator=(const ClassFactory&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
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
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        return create_(iid, out);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        com_server::LockServer(lock != FALSE);
        return S_OK;
    }

  private:
    CreateFunction create_;
    LONG references_ = 0;
};

} // namespace

void ObjectCreated() {
    InterlockedIncrement(&outstanding);
}
void ObjectDestroyed() {
    InterlockedDecrement(&outstanding);
}
void LockServer(bool lock) {
    lock ? ObjectCreated() : ObjectDestroyed();
}
bool ServerInUse() {
    return InterlockedCompareExchange(&outstanding, 0, 0) != 0;
}

HRESULT CreateClassFactory(CreateFunction create, REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    auto* factory = new (std::nothrow) ClassFactory(create);
    if (!factory)
        return E_OUTOFMEMORY;
    factory->AddRef();
    const HRESULT hr = factory->QueryInterface(iid, out);
    factory->Release();
    return hr;
}

} // namespace com_server
