#include "action_registration.h"

#include "com/com_owners.h"

namespace orvenna {
namespace {

bool IsGuidText(BSTR text) {
    CLSID parsed;
    return text && SysStringLen(text) == 38 && SUCCEEDED(CLSIDFromString(text, &parsed));
}

} // namespace

HRESULT ActionRegistration::RegisterAction(BSTR actionsClassId, BSTR actionId, VARIANT) {
    if (!IsGuidText(actionsClassId) || !IsGuidText(actionId))
        return E_INVALIDARG;
    return com_server::Guarded([&] {
        std::lock_guard guard(pending_->mutex);
        pending_->actions.emplace_back(engine_com::BstrView(actionId),
                                       engine_com::BstrView(actionsClassId));
        return S_OK;
    });
}

} // namespace orvenna
