// IUnknown and IDispatch for the engines' objects. The interfaces are called early-bound,
// so late binding answers E_NOTIMPL instead of carrying a type library.
#pragma once
#include "com_server.h"

#include <oaidl.h>

#include <exception>
#include <new>

namespace engine_com {

// Ends every path of a COM method in an HRESULT.
template <typename Body> HRESULT Guarded(Body&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

template <typename Interface> class DispatchObject : public Interface {
  public:
    DispatchObject() { com_server::ObjectCreated(); }
    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;
    virtual ~DispatchObject() { com_server::ObjectDestroyed(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(Interface)) {
            *out = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info)
            *info = nullptr;
        return DISP_E_BADINDEX;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // Creates an object and hands out the asked interface; the object dies if that fails.
    template <typename Object, typename... Args>
    static HRESULT CreateInstance(REFIID iid, void** out, Args&&... args) noexcept {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        return Guarded([&] {
            Object* object = new Object(std::forward<Args>(args)...);
            object->AddRef();
            const HRESULT hr = object->QueryInterface(iid, out);
            object->Release();
            return hr;
        });
    }

  private:
    LONG references_ = 0;
};

} // namespace engine_com
