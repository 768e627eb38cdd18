// "OrvennaDesktop.QueryRegistration": hands out the cookie the component queries with.
#pragma once
#include "com_object.h"
#include "idl/desktop_search.h"
#include "pending_registration.h"

#include <memory>

namespace orvenna {

class QueryRegistration final : public com_server::DispatchObject<IOrvennaQueryRegistration> {
  public:
    explicit QueryRegistration(std::shared_ptr<PendingRegistration> pending)
        : pending_(std::move(pending)) {}

    HRESULT STDMETHODCALLTYPE RegisterQuery(BSTR componentId, long flags, long* cookie) override;

  private:
    std::shared_ptr<PendingRegistration> pending_;
};

} // namespace orvenna
