#include "store_handles.h"

namespace ntamsel {
namespace {
DWORD lastHandle = 0x1000;
}

DWORD NextHandle() {
    if (++lastHandle == 0)
        ++lastHandle;
    return lastHandle;
}

std::mutex& StoreLock() {
    static std::mutex lock;
    return lock;
}

store::TimeValue ToValue(const STORETIME& time) {
    return {time.timeOfDay, time.dayNumber};
}

STORETIME ToStoreTime(store::TimeValue value) {
    return {value.timeOfDay, value.dayNumber};
}

STOREID8 ToId8(uint64_t value) {
    return {static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)};
}

} // namespace ntamsel
