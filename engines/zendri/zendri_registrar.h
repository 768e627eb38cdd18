// The primary engine's component registrar.
#pragma once
#include "com_object.h"
#include "idl/desktop_search.h"

namespace zendri {

class ZendriRegistrar final : public com_server::DispatchObject<IZendriRegistrar> {
  public:
    static HRESULT Create(REFIID iid, void** out);

    // Hands back the registrar itself as the registration object.
    HRESULT STDMETHODCALLTYPE RegisterComponent(BSTR componentId, VARIANT description,
                                                IDispatch** registration) override;
    HRESULT STDMETHODCALLTYPE UnRegisterComponent(BSTR componentId) override;
};

} // namespace zendri
