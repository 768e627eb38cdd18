// "OrvennaDesktop.IndexingRegistration": the component sends documents to be indexed.
#pragma once
#include "com_object.h"
#include "idl/desktop_search.h"
#include "pending_registration.h"

#include <memory>

namespace orvenna {

class IndexingRegistration final : public com_server::DispatchObject<IOrvennaIndexingRegistration> {
  public:
    explicit IndexingRegistration(std::shared_ptr<PendingRegistration> pending)
        : pending_(std::move(pending)) {}

    HRESULT STDMETHODCALLTYPE RegisterIndexing(IUnknown* crawler) override;

  private:
    std::shared_ptr<PendingRegistration> pending_;
};

} // namespace orvenna
