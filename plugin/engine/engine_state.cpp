#include "engine_state.h"

namespace tamsel {

std::atomic<bool> registrationAttempted{false};
std::atomic<bool> engineUnavailable{false};

} // namespace tamsel
