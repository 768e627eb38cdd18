// Registration state shared by the user-interface thread and the indexing thread.
#pragma once
#include <atomic>

namespace tamsel {

// RegisterComponent was called on the primary engine and not yet withdrawn; also held while
// a registration attempt is under way, so that two threads never register at once.
extern std::atomic<bool> registrationAttempted;
// The primary engine's registrar could not be created (or its description not built) since
// the last registration that reached the engine: no engine events are created meanwhile.
extern std::atomic<bool> engineUnavailable;

} // namespace tamsel
