// The log line for a failure that no code path expected. It is written whatever the debug
// setting: where the client or a COM caller enters, it is all that is left to tell what went
// wrong. Installed at process attach as the module's reporter for its COM boundaries.
#pragma once

namespace tamsel {

void LogUnexpectedFailure(const char* what) noexcept;

} // namespace tamsel
