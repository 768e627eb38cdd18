// The components registered with an engine: one registry key per component id under the
// engine's "Components" key, holding the description's name/value pairs.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace engine_core {

inline constexpr wchar_t kZendriComponents[] = L"Software\\Zendri\\DesktopSearch\\Components";
inline constexpr wchar_t kOrvennaKey[] = L"Software\\Orvenna\\Orvenna Desktop";
inline constexpr wchar_t kOrvennaComponents[] = L"Software\\Orvenna\\Orvenna Desktop\\Components";

using Description = std::vector<std::pair<std::wstring, std::wstring>>;

bool IsValidComponentId(const std::wstring& id);
std::wstring ComponentKey(const wchar_t* components, const std::wstring& id);
bool IsComponentRegistered(const wchar_t* components, const std::wstring& id);
HRESULT WriteComponent(const wchar_t* components, const std::wstring& id,
                       const Description& description);
// E_COMPONENT_NOT_REGISTERED when there was nothing to remove.
HRESULT RemoveComponent(const wchar_t* components, const std::wstring& id);
// A cookie that the second engine's query registration handed to a registered component.
bool IsKnownQueryCookie(long cookie);
inline constexpr wchar_t kQueryCookieValue[] = L"QueryCookie";
// What CreateEvent answers before it makes an event.
HRESULT CheckEventRequest(const wchar_t* components, const std::wstring& id,
                          std::wstring_view schema, const wchar_t* expectedSchema);

} // namespace engine_core
