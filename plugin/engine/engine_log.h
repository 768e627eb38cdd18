// Debug lines about the engines' answers; written only while debug logging is on.
#pragma once
#include <windows.h>

namespace tamsel {

// A catalogue line that takes the result as its one argument (123, 126, ...).
void DebugLogResult(WORD message, HRESULT result);

} // namespace tamsel
