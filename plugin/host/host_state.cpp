#include "host_state.h"

namespace tamsel {

std::atomic<bool> addinStarted{false};
std::atomic<HANDLE> indexThread{nullptr};
std::atomic<bool> stopRequested{false};
std::atomic<bool> resetRequested{false};
std::atomic<bool> wakeRequested{false};
std::atomic<DWORD> nextWaitMs{0};
std::atomic<DWORD> lastHistoryCheckTick{0};

} // namespace tamsel
