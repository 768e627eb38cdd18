#include "index_status.h"

#include <cstring>

namespace tamsel {

IndexStatus indexStatus{};
BYTE openErrorReported[userSlotCount]{};
BYTE historyOpenErrorReported = 0;

void GetIndexStatus(IndexStatus* copy) {
    *copy = indexStatus;
}

void ClearIndexStatus() {
    indexStatus = IndexStatus{};
    ForgetOpenErrors();
}

void ForgetOpenErrors() {
    std::memset(openErrorReported, 0, sizeof openErrorReported);
    historyOpenErrorReported = 0;
}

} // namespace tamsel
