#include "host_state.h"

namespace tamsel {

std::atomic<bool> addinStarted{false};
std::atomic<HANDLE> indexThread{nullptr};

} // namespace tamsel
