#include "components.h"

#include "engine_results.h"
#include "registry_key.h"

namespace engine_core {

using engine_support::RegistryKey;

bool IsValidComponentId(const std::wstring& id) {
    return !id.empty() && id.size() < 200 && id.find(L'\\') == std::wstring::npos;
}

std::wstring ComponentKey(const wchar_t* components, const std::wstring& id) {
    return std::wstring(components) + L"\\" + id;
}

bool IsComponentRegistered(const wchar_t* components, const std::wstring& id) {
    return IsValidComponentId(id) && RegistryKey::Exists(HKEY_CURRENT_USER, ComponentKey(components, id));
}

HRESULT WriteComponent(const wchar_t* components, const std::wstring& id,
                       const Description& description) {
    if (!IsValidComponentId(id))
        return E_INVALIDARG;
    const std::wstring path = ComponentKey(components, id);
    if (!RegistryKey::DeleteTree(HKEY_CURRENT_USER, path))
        return E_ACCESSDENIED;
    const RegistryKey key = RegistryKey::Create(HKEY_CURRENT_USER, path);
    if (!key)
        return E_ACCESSDENIED;
    for (const auto& [name, value] : description)
        if (!key.SetString(name.c_str(), value))
            return E_ACCESSDENIED;
    return S_OK;
}

HRESULT RemoveComponent(const wchar_t* components, const std::wstring& id) {
    if (!IsComponentRegistered(components, id))
        return engine_results::E_COMPONENT_NOT_REGISTERED;
    return RegistryKey::DeleteTree(HKEY_CURRENT_USER, ComponentKey(components, id))
               ? S_OK
               : E_ACCESSDENIED;
}

bool IsKnownQueryCookie(long cookie) {
    if (cookie == 0)
        return false;
    const RegistryKey components = RegistryKey::Open(HKEY_CURRENT_USER, kOrvennaComponents, KEY_READ);
    if (!components)
        return false;
    for (const std::wstring& id : components.SubkeyNames()) {
        const RegistryKey component = RegistryKey::Open(components.get(), id, KEY_QUERY_VALUE);
        if (component && component.GetDword(kQueryCookieValue) == static_cast<DWORD>(cookie))
            return true;
    }
    return false;
}

HRESULT CheckEventRequest(const wchar_t* components, const std::wstring& id,
                          const std::wstring& schema, const wchar_t* expectedSchema) {
    if (!IsComponentRegistered(components, id))
        return engine_results::E_COMPONENT_NOT_REGISTERED;
    if (schema != expectedSchema)
        return engine_results::E_NO_SUCH_SCHEMA;
    return S_OK;
}

} // namespace engine_core
