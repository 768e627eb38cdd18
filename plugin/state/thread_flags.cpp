#include "thread_flags.h"

namespace tamsel {

std::atomic<bool> stopRequested{false};
std::atomic<bool> resetRequested{false};
std::atomic<bool> wakeRequested{false};
std::atomic<DWORD> nextWaitMs{0};
std::atomic<DWORD> lastHistoryCheckTick{0};

} // namespace tamsel
