#include "index_type_mask.h"

#include "client_settings.h"

namespace tamsel {

std::atomic<DWORD> IndexTypeMask{initialIndexTypeMask};

namespace {
std::atomic<DWORD> sendDelayedCount{0};
constexpr DWORD sendDelayedBeforeGateOpens = 9;
} // namespace

BYTE IsIndexTypeEnabled(DWORD bits) {
    if (bits & indexTypeMail)
        return 1;
    return (bits & IndexTypeMask) != 0 ? 1 : 0;
}

void SetIndexTypeEnabled(DWORD bits, BYTE on) {
    if (IsIndexTypeEnabled(bits) == (on ? 1 : 0))
        return;
    if (on)
        IndexTypeMask |= bits;
    else
        IndexTypeMask &= ~bits;
}

void CountSendDelayed() {
    ++sendDelayedCount;
}

BYTE IdleSendGate() {
    if (!GetIndexOnIdle())
        return 1;
    if (sendDelayedCount < sendDelayedBeforeGateOpens)
        return 0;
    sendDelayedCount = 0;
    return 1;
}

} // namespace tamsel
