// The ids under which the plug-in is known to the engines.
#pragma once

namespace tamsel {

// The plug-in's class id, braced and upper case, as both engines expect it.
inline constexpr wchar_t componentId[] = L"{3A71C2E4-5B0D-4F86-9E12-7D4C60A8B1F3}";
// The actions object and the three actions it offers on the engine's results.
inline constexpr wchar_t actionsClassId[] = L"{6D2B9F10-8C47-4E35-A1D6-29F0B3C7E854}";
inline constexpr wchar_t openActionId[] = L"{791F141B-8CB2-4F72-AD50-60EC14BFCFBB}";
inline constexpr wchar_t replyActionId[] = L"{B47371E4-4DDA-41F4-A694-93B084E93230}";
inline constexpr wchar_t replyToAllActionId[] = L"{4DFEE224-FE66-4954-A247-1D61CFD3B9F3}";
inline constexpr const wchar_t* actionIds[] = {openActionId, replyActionId, replyToAllActionId};

} // namespace tamsel
