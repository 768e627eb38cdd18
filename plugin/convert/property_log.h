// The log line of a property write the engine refused (message 127).
#pragma once
#include <windows.h>

namespace tamsel {

void LogPropertyFailure(const char* name, HRESULT result);
// Only while debug logging is on.
void DebugLogPropertyFailure(const char* name, HRESULT result);

} // namespace tamsel
