#include "orvenna_index.h"

#include "components.h"
#include "shared_index.h"
#include "support/registry_key.h"

namespace engine_core {
namespace {

using engine_support::RegistryKey;

HRESULT WriteCreationTime() {
    FILETIME now = {};
    GetSystemTimeAsFileTime(&now);
    const RegistryKey key = RegistryKey::Create(HKEY_CURRENT_USER, kOrvennaKey);
    if (!key || !key.SetBinary(kIndexCreationTimeValue, &now, sizeof now))
        return E_ACCESSDENIED;
    return S_OK;
}

bool HasCreationTime() {
    const RegistryKey key = RegistryKey::Open(HKEY_CURRENT_USER, kOrvennaKey, KEY_QUERY_VALUE);
    return key && key.GetBinary(kIndexCreationTimeValue).has_value();
}

} // namespace

HRESULT EnsureOrvennaIndex() {
    bool created = false;
    if (const HRESULT hr = CurrentIndexLog().Create(&created); FAILED(hr))
        return hr;
    return created || !HasCreationTime() ? WriteCreationTime() : S_OK;
}

HRESULT ResetIndex() {
    if (const HRESULT hr = CurrentIndexLog().Truncate(); FAILED(hr))
        return hr;
    return WriteCreationTime();
}

} // namespace engine_core
