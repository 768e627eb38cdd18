// The second engine records when its index was made, in its own registry key, so that
// components notice a new index.
#pragma once
#include <windows.h>

namespace engine_core {

inline constexpr wchar_t kIndexCreationTimeValue[] = L"index_creation_time";

// Makes the index if missing; writes "index_creation_time" when it made it or the value
// is missing.
HRESULT EnsureOrvennaIndex();
// Empties the index and writes a new "index_creation_time".
HRESULT ResetIndex();

} // namespace engine_core
