// One base for the COM objects of our servers: IUnknown (and IDispatch for dispatch
// interfaces, which are called early-bound, so late binding finds no names), the server's
// object count, creation that hands out the asked interface, and the boundary that ends every
// path of a method in an HRESULT.
#pragma once
#include "com_result.h"
#include "com_server.h"

#include <oaidl.h>

#include <type_traits>
#include <utility>

namespace com_server {

template <typename Interface> class ComObject : public Interface {
  public:
    ComObject() { ObjectCreated(); }
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;
    virtual ~ComObject() { ObjectDestroyed(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(Interface) ||
            (std::is_base_of_v<IDispatch, Interface> && iid == __uuidof(IDispatch))) {
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

template <typename Interface> class DispatchObject : public ComObject<Interface> {
  public:
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
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return DISP_E_MEMBERNOTFOUND;
    }
};

} // namespace com_server
