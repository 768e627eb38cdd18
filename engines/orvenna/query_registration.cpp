#include "query_registration.h"

#include "com/com_owners.h"

#include <random>

namespace orvenna {
namespace {

long NewCookie() {
    static std::mutex mutex;
    static std::mt19937 generator(std::random_device{}());
    std::lock_guard guard(mutex);
    // Positive and never 0, which components read as "no cookie".
    return std::uniform_int_distribution<long>(1, 0x7FFFFFFF)(generator);
}

} // namespace

HRESULT QueryRegistration::RegisterQuery(BSTR componentId, long, long* cookie) {
    if (!cookie)
        return E_POINTER;
    *cookie = 0;
    return com_server::Guarded([&] {
        std::lock_guard guard(pending_->mutex);
        if (engine_com::BstrView(componentId) != pending_->component)
            return E_INVALIDARG;
        if (!pending_->queryCookie)
            pending_->queryCookie = NewCookie();
        *cookie = *pending_->queryCookie;
        return S_OK;
    });
}

} // namespace orvenna
