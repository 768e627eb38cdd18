// A clock for the indexing thread whose sleeps take no time: minutes of schedule run in
// microseconds, and every sleep is written down.
#pragma once
#include "indexing/clock.h"

#include <windows.h>

#include <functional>
#include <vector>

struct VirtualTime {
    static inline DWORD now = 0;
    static inline std::vector<DWORD> sleeps;
    static inline std::function<void()> afterSleep;
    static inline std::vector<int> priorities;

    static DWORD WINAPI Tick() { return now; }
    static void WINAPI Sleep(DWORD milliseconds) {
        priorities.push_back(GetThreadPriority(GetCurrentThread()));
        sleeps.push_back(milliseconds);
        now += milliseconds;
        if (afterSleep)
            afterSleep();
    }
    // Starts close to the wrap of the tick counter.
    static void Install(DWORD start = 0xFFFF0000) {
        now = start;
        sleeps.clear();
        priorities.clear();
        afterSleep = nullptr;
        tamsel::indexingClock = {Tick, Sleep};
    }
    static void Uninstall() {
        afterSleep = nullptr;
        tamsel::indexingClock = {GetTickCount, ::Sleep};
    }
};
