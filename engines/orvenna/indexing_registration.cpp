#include "indexing_registration.h"

namespace orvenna {

// The engine never calls a crawler back; components pass none.
HRESULT IndexingRegistration::RegisterIndexing(IUnknown*) {
    std::lock_guard guard(pending_->mutex);
    pending_->indexing = true;
    return S_OK;
}

} // namespace orvenna
