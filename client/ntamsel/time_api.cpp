// Client time values.
#include "store_handles.h"
#include "text_utf8.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

using namespace ntamsel;

namespace {

store::TimeParts PartsOf(const STORETIMEFORMAT* format) {
    if (!format || format->structure >= 2)
        return store::TimeParts::DateAndTime;
    return format->structure == 0 ? store::TimeParts::DateOnly : store::TimeParts::TimeOnly;
}

// How far the clock that the client shows is set from the machine's: TAMSEL_CLOCK holds the
// time (in the client's text form) that the clock reads when first asked; it runs on from
// there. Zero without the variable or with a text that is not a time.
int64_t ClockShift() {
    static const int64_t shift = [] {
        const char* text = std::getenv("TAMSEL_CLOCK");
        const auto start = text ? store::TextToTime(text) : std::nullopt;
        const auto startHundredths = start ? store::HundredthsSinceEpoch(*start) : std::nullopt;
        const auto now = store::HundredthsSinceEpoch(store::CurrentTime());
        return startHundredths && now ? *startHundredths - *now : int64_t(0);
    }();
    return shift;
}

store::TimeValue ClientNow() {
    const store::TimeValue now = store::CurrentTime();
    const int64_t shift = ClockShift();
    if (shift == 0)
        return now;
    return store::TimeFromHundredths(*store::HundredthsSinceEpoch(now) + shift, 0);
}

} // namespace

// The current instant, marked with the machine's zone so that its text shows local time.
void WINAPI StoreCurrentTime(STORETIME* time) {
    if (!time)
        return;
    store::TimeValue now = ClientNow();
    TIME_ZONE_INFORMATION zone{};
    const DWORD kind = GetTimeZoneInformation(&zone);
    const bool dst = kind == TIME_ZONE_ID_DAYLIGHT && zone.DaylightBias == -60;
    const long bias = zone.Bias + (kind == TIME_ZONE_ID_DAYLIGHT && !dst ? zone.DaylightBias : 0);
    const int quarters = static_cast<int>(-bias / 15);
    if (kind != TIME_ZONE_ID_INVALID && bias % 15 == 0 && quarters >= -store::kMaxZoneQuarters &&
        quarters <= store::kMaxZoneQuarters)
        now.dayNumber |= (static_cast<uint32_t>(quarters) & 0x7F) << 24 | (dst ? 0x80000000u : 0);
    *time = ToStoreTime(now);
}

void WINAPI StoreSetTimeConstant(WORD code, STORETIME* time) {
    if (!time)
        return;
    *time = code == STORE_TIME_LATEST ? STORETIME{store::kHundredthsPerDay - 1, store::kMaxDay}
                                      : ToStoreTime(store::kEarliestTime);
}

int WINAPI StoreCompareTimes(const STORETIME* a, const STORETIME* b) {
    if (!a || !b)
        return a == b ? 0 : a ? 1 : -1;
    return store::CompareTimes(ToValue(*a), ToValue(*b));
}

STORESTATUS WINAPI StoreTimeToText(const void*, const STORETIMEFORMAT* format,
                                   const STORETIME* time, char* buffer, WORD size, WORD* length) {
    if (length)
        *length = 0;
    if (!time || !buffer || !store::IsValidTime(ToValue(*time)))
        return STORE_ERR_BAD_ARGUMENT;
    const bool showZone = !format || format->zone != 0;
    const std::string text = store::TimeToText(ToValue(*time), PartsOf(format), showZone);
    // Unterminated when it fills the buffer, as callers expect.
    const size_t fits = store::Utf8FitLength(text, size);
    std::memcpy(buffer, text.data(), fits);
    if (fits < size)
        buffer[fits] = '\0';
    if (length)
        *length = static_cast<WORD>(fits);
    return STORE_NOERROR;
}

STORESTATUS WINAPI StoreTextToTime(const void*, const STORETIMEFORMAT*, const char* text,
                                   WORD length, STORETIME* time) {
    if (!text || !time)
        return STORE_ERR_BAD_ARGUMENT;
    const auto value = store::TextToTime(std::string_view(text, strnlen(text, length)));
    if (!value)
        return STORE_ERR_BAD_ARGUMENT;
    *time = ToStoreTime(*value);
    return STORE_NOERROR;
}

DWORD WINAPI StoreTimeDatePart(const STORETIME* time) {
    return time ? time->dayNumber : STORE_TIME_ABSENT;
}

DWORD WINAPI StoreTimeTimePart(const STORETIME* time) {
    return time ? time->timeOfDay : STORE_TIME_ABSENT;
}

DWORD WINAPI StoreTimeDayNumber(const STORETIME* time) {
    if (!time || time->dayNumber == STORE_TIME_ABSENT)
        return STORE_TIME_ABSENT;
    return store::DayOf(ToValue(*time));
}

STORESTATUS WINAPI StoreTimeConstruct(DWORD dayNumber, DWORD timeOfDay, STORETIME* time) {
    const store::TimeValue value{timeOfDay,
                                 dayNumber == STORE_TIME_ABSENT ? dayNumber : dayNumber & 0xFFFFFF};
    if (!time || !store::IsValidTime(value) ||
        (dayNumber != STORE_TIME_ABSENT && dayNumber > store::kMaxDay))
        return STORE_ERR_BAD_ARGUMENT;
    *time = ToStoreTime(value);
    return STORE_NOERROR;
}

STORESTATUS WINAPI StoreTimeToFields(const STORETIME* time, int zoneQuarters, BOOL dst,
                                     STORETIMEFIELDS* fields) {
    if (!time || !fields || zoneQuarters < -store::kMaxZoneQuarters ||
        zoneQuarters > store::kMaxZoneQuarters)
        return STORE_ERR_BAD_ARGUMENT;
    store::TimeValue value = ToValue(*time);
    if (!store::IsValidTime(value))
        return STORE_ERR_BAD_ARGUMENT;
    if (const auto instant = store::HundredthsSinceEpoch(value)) {
        // Seen from the requested zone: the same instant, another writer's zone.
        const uint32_t zoneBits =
            (static_cast<uint32_t>(zoneQuarters) & 0x7F) << 24 | (dst ? 0x80000000u : 0);
        value = store::TimeFromHundredths(*instant, zoneBits);
    }
    const auto f = store::FieldsFromTime(value);
    if (!f)
        return STORE_ERR_BAD_ARGUMENT;
    const int64_t localDay = f->hasDate ? store::JulianDay(f->year, f->month, f->day) : 0;
    *fields = {f->year, f->month,  f->day,    static_cast<int>((localDay + 1) % 7) + 1,
               f->hour, f->minute, f->second, f->hundredth};
    return STORE_NOERROR;
}
