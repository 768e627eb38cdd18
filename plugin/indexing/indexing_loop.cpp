#include "indexing_loop.h"

#include "clock.h"
#include "host/host_state.h"
#include "ntamsel.h"

namespace tamsel {

namespace {
constexpr DWORD waitStepMs = 1000;
}

// Until passes exist the loop only waits, in the steps a stop request is noticed in.
void RunIndexingLoop() {
    while (!stopRequested && !StoreTerminationPending())
        indexingClock.sleep(waitStepMs);
}

void WakeIndexer() { wakeRequested = true; }

} // namespace tamsel
