// Time and sleeping for the indexing thread, replaceable so that tests run minutes of
// schedule in microseconds.
#pragma once
#include <windows.h>

namespace tamsel {

struct Clock {
    DWORD(WINAPI* tickCount)();
    void(WINAPI* sleep)(DWORD milliseconds);
};

extern Clock indexingClock;

} // namespace tamsel
