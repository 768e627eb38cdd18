#include "components.h"

#include "idl/engine_results.h"
#include "support/key_watch.h"
#include "support/registry_key.h"

#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string_view>

namespace engine_core {

using engine_support::RegistryKey;

bool IsValidComponentId(const std::wstring& id) {
    return !id.empty() && id.size() < 200 && id.find(L'\\') == std::wstring::npos;
}

std::wstring ComponentKey(const wchar_t* components, const std::wstring& id) {
    return std::wstring(components) + L"\\" + id;
}

namespace {

std::wstring Upper(std::wstring text) {
    CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// The watch of a Components key's parent, the engine's key, which the switches and the index
// folder share.
engine_support::KeyWatch& EngineKeyWatch(std::wstring_view components) {
    return engine_support::KeyWatch::OfCurrentUser(
        std::wstring(components.substr(0, components.rfind(L'\\'))));
}

// Our own writes are seen by the very next call, whoever makes it.
struct AnnounceChange {
    const wchar_t* components;
    ~AnnounceChange() { EngineKeyWatch(components).Changed(); }
};

// The names under a Components key, listed again only after something under the engine's
// key changed: every event asks, so this has to be cheap.
struct ComponentNames {
    explicit ComponentNames(const wchar_t* path) : path(path), watch(EngineKeyWatch(path)) {}
    std::wstring path;
    engine_support::KeyWatch& watch;
    std::uint64_t seen = 0;
    std::set<std::wstring> upperNames;
};

} // namespace

bool IsComponentRegistered(const wchar_t* components, const std::wstring& id) {
    if (!IsValidComponentId(id))
        return false;
    static std::mutex mutex;
    static std::map<std::wstring, std::unique_ptr<ComponentNames>, std::less<>> cache;
    std::lock_guard guard(mutex);
    auto found = cache.find(std::wstring_view(components));
    if (found == cache.end())
        found = cache.emplace(components, std::make_unique<ComponentNames>(components)).first;
    auto& names = found->second;
    if (const std::uint64_t generation = names->watch.Generation(); generation != names->seen) {
        names->upperNames.clear();
        const RegistryKey key = RegistryKey::Open(HKEY_CURRENT_USER, names->path, KEY_READ);
        if (key)
            for (const std::wstring& name : key.SubkeyNames())
                names->upperNames.insert(Upper(name));
        names->seen = generation;
    }
    return names->upperNames.contains(Upper(id));
}

HRESULT WriteComponent(const wchar_t* components, const std::wstring& id,
                       const Description& description) {
    if (!IsValidComponentId(id))
        return E_INVALIDARG;
    const std::wstring path = ComponentKey(components, id);
    const AnnounceChange announce{components};
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
    const AnnounceChange announce{components};
    return RegistryKey::DeleteTree(HKEY_CURRENT_USER, ComponentKey(components, id))
               ? S_OK
               : E_ACCESSDENIED;
}

bool IsKnownQueryCookie(long cookie) {
    if (cookie == 0)
        return false;
    const RegistryKey components =
        RegistryKey::Open(HKEY_CURRENT_USER, kOrvennaComponents, KEY_READ);
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
                          std::wstring_view schema, const wchar_t* expectedSchema) {
    if (!IsComponentRegistered(components, id))
        return engine_results::E_COMPONENT_NOT_REGISTERED;
    if (schema != expectedSchema)
        return engine_results::E_NO_SUCH_SCHEMA;
    return S_OK;
}

} // namespace engine_core
