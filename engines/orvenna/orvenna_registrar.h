// The second engine's component registrar: BeginRegistration, the registration objects,
// then CompleteRegistration.
#pragma once
#include "com_object.h"
#include "idl/desktop_search.h"
#include "pending_registration.h"

#include <memory>

namespace orvenna {

class OrvennaRegistrar final : public com_server::DispatchObject<IOrvennaRegistrar> {
  public:
    static HRESULT Create(REFIID iid, void** out);

    HRESULT STDMETHODCALLTYPE BeginRegistration(BSTR componentId, VARIANT description) override;
    HRESULT STDMETHODCALLTYPE GetRegistrationObject(BSTR progId, IDispatch** object) override;
    HRESULT STDMETHODCALLTYPE CompleteRegistration() override;
    HRESULT STDMETHODCALLTYPE UnRegisterComponent(BSTR componentId) override;

  private:
    std::shared_ptr<PendingRegistration> pending_;
};

} // namespace orvenna
