// The plug-in as a COM class: the component the engines know by its class id. It has no
// methods of its own.
#pragma once
#include "tamsel_desktop.h"

namespace tamsel {

class TamselDesktopPlugin : public ITamselDesktopPlugin {
  public:
    static HRESULT Create(REFIID iid, void** out);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // Nothing to call late-bound: no type information, no names.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override;

  private:
    TamselDesktopPlugin();
    virtual ~TamselDesktopPlugin();
    TamselDesktopPlugin(const TamselDesktopPlugin&) = delete;
    TamselDesktopPlugin& operator=(const TamselDesktopPlugin&) = delete;

    LONG references_ = 0;
};

} // namespace tamsel
