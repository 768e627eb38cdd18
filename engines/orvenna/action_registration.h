// "OrvennaDesktop.ActionRegistration": the actions a component offers on its results.
#pragma once
#include "com_object.h"
#include "idl/desktop_search.h"
#include "pending_registration.h"

#include <memory>

namespace orvenna {

class ActionRegistration final : public com_server::DispatchObject<IOrvennaActionRegistration> {
  public:
    explicit ActionRegistration(std::shared_ptr<PendingRegistration> pending)
        : pending_(std::move(pending)) {}

    HRESULT STDMETHODCALLTYPE RegisterAction(BSTR actionsClassId, BSTR actionId,
                                             VARIANT reserved) override;

  private:
    std::shared_ptr<PendingRegistration> pending_;
};

} // namespace orvenna
