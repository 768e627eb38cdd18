// The engines look at their registry keys at most once a KeyWatch::kLookIntervalMs, so a
// change a test makes in its own process reaches the engines' next call only after that.
#pragma once
#include "support/key_watch.h"

#include <windows.h>

namespace testing_support {

// Returns once every engine call that starts afterwards sees the registry as it is now.
inline void LetEnginesNotice() {
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    do {
        Sleep(1);
        QueryPerformanceCounter(&now);
    } while ((now.QuadPart - start.QuadPart) * 1000 <=
             frequency.QuadPart * engine_support::KeyWatch::kLookIntervalMs);
}

} // namespace testing_support
