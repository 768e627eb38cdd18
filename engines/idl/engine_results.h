// Result codes the desktop search engines answer, beside the ordinary COM ones.
#pragma once
#include <windows.h>

namespace engine_results {

inline constexpr HRESULT S_INDEXING_PAUSED = 0x00040007;
inline constexpr HRESULT S_PROPERTY_TRUNCATED = 0x0004000D;
inline constexpr HRESULT E_EXTENSION_REGISTERED = static_cast<HRESULT>(0x80040001);
inline constexpr HRESULT E_COMPONENT_NOT_REGISTERED = static_cast<HRESULT>(0x80040002);
inline constexpr HRESULT E_NO_SUCH_SCHEMA = static_cast<HRESULT>(0x80040003);
inline constexpr HRESULT E_NO_SUCH_PROPERTY = static_cast<HRESULT>(0x80040004);
inline constexpr HRESULT E_COMPONENT_DISABLED = static_cast<HRESULT>(0x80040005);
inline constexpr HRESULT E_COMPONENT_ALREADY_REGISTERED = static_cast<HRESULT>(0x80040006);
inline constexpr HRESULT E_EVENT_TOO_LARGE = static_cast<HRESULT>(0x80040008);
inline constexpr HRESULT E_SERVICE_NOT_RUNNING = static_cast<HRESULT>(0x80040009);
inline constexpr HRESULT E_INVALID_EVENT_FLAGS = static_cast<HRESULT>(0x8004000A);
inline constexpr HRESULT E_COMPONENT_PROHIBITED = static_cast<HRESULT>(0x8004000B);
inline constexpr HRESULT E_SEND_DELAYED = static_cast<HRESULT>(0x8004000C);
inline constexpr HRESULT E_PROPERTY_TOO_LARGE = static_cast<HRESULT>(0x8004000E);
inline constexpr HRESULT E_PROPERTY_NOT_SET = static_cast<HRESULT>(0x8004000F);
inline constexpr HRESULT E_SERVICE_IS_EXITING = static_cast<HRESULT>(0x80040010);
inline constexpr HRESULT E_APPLICATION_IS_EXITING = static_cast<HRESULT>(0x80040011);
inline constexpr HRESULT E_RETRY_SEND = static_cast<HRESULT>(0x80040012);
// Reported by the engine's store when a read ran past the end of its file.
inline constexpr HRESULT E_END_OF_FILE = static_cast<HRESULT>(0x80005007);

} // namespace engine_results
