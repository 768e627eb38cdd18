#include "pending_registration.h"

#include "support/registry_key.h"

namespace orvenna {

using engine_support::RegistryKey;

HRESULT CommitRegistration(PendingRegistration& registration) {
    std::lock_guard guard(registration.mutex);
    const HRESULT written = engine_core::WriteComponent(
        engine_core::kOrvennaComponents, registration.component, registration.description);
    if (FAILED(written))
        return written;
    const std::wstring path =
        engine_core::ComponentKey(engine_core::kOrvennaComponents, registration.component);
    const RegistryKey component = RegistryKey::Open(HKEY_CURRENT_USER, path, KEY_WRITE);
    const RegistryKey actions = RegistryKey::Create(HKEY_CURRENT_USER, path + L"\\Actions");
    if (!component || !actions || !component.SetDword(L"Indexing", registration.indexing))
        return E_ACCESSDENIED;
    if (registration.queryCookie &&
        !component.SetDword(engine_core::kQueryCookieValue,
                            static_cast<DWORD>(*registration.queryCookie)))
        return E_ACCESSDENIED;
    for (const auto& [action, handler] : registration.actions)
        if (!actions.SetString(action.c_str(), handler))
            return E_ACCESSDENIED;
    return S_OK;
}

} // namespace orvenna
