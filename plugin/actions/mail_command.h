// The "mailto:" command of the reply actions: escaped recipients and, as far as it fits, the
// escaped subject, never longer than the engine's command limit.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace tamsel {

constexpr size_t mailCommandLimit = 240;

// Nothing when the recipients alone do not fit. A subject that does not fit whole is cut and
// ends in "...".
std::optional<std::wstring> BuildMailCommand(std::wstring_view recipients,
                                             const std::optional<std::wstring>& subject);

} // namespace tamsel
