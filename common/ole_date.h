// OLE automation dates (DATE): days since 1899-12-30, the time of day as the fraction. The
// engines keep times as seconds since 1970, so both sides convert with the same numbers.
#pragma once

namespace ole_date {

constexpr long long kSecondsPerDay = 86400;
constexpr int kUnixEpochDay = 25569; // 1970-01-01

constexpr double FromUnixSeconds(double seconds) {
    return kUnixEpochDay + seconds / kSecondsPerDay;
}

constexpr double ToUnixSeconds(double date) {
    return (date - kUnixEpochDay) * kSecondsPerDay;
}

} // namespace ole_date
