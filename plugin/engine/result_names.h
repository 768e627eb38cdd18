// Names of the engines' result codes, for the log.
#pragma once
#include <windows.h>

namespace tamsel {

// The engine's name for a result, or "Unknown HRESULT".
const char* EngineResultName(HRESULT result);

} // namespace tamsel
