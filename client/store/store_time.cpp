#include "store_time.h"

#include <chrono>
#include <cstdio>

namespace store {
namespace {

constexpr int64_t kUnixEpochJulianDay = 2440588;
constexpr int64_t kHundredthsPerQuarter = 15 * 60 * 100;
constexpr uint32_t kDayMask = 0x00FFFFFF;
constexpr uint32_t kDstBit = 0x80000000;

uint32_t ZoneBits(int quarters) {
    return (static_cast<uint32_t>(quarters) & 0x7F) << 24;
}

int64_t LocalShift(int zoneQuarters, bool dst) {
    return (zoneQuarters + (dst ? 4 : 0)) * kHundredthsPerQuarter;
}

int DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

bool ValidDate(const TimeFields& f) {
    return f.year > -1'000'000 && f.year < 1'000'000 && f.month >= 1 && f.month <= 12 &&
           f.day >= 1 && f.day <= DaysInMonth(f.year, f.month);
}

bool ValidClock(const TimeFields& f) {
    return f.hour >= 0 && f.hour < 24 && f.minute >= 0 && f.minute < 60 && f.second >= 0 &&
           f.second < 60 && f.hundredth >= 0 && f.hundredth < 100;
}

uint32_t ClockHundredths(const TimeFields& f) {
    return ((f.hour * 60 + f.minute) * 60 + f.second) * 100 + f.hundredth;
}

void SetClock(TimeFields& f, int64_t hundredths) {
    f.hundredth = static_cast<int>(hundredths % 100);
    f.second = static_cast<int>(hundredths / 100 % 60);
    f.minute = static_cast<int>(hundredths / 6000 % 60);
    f.hour = static_cast<int>(hundredths / 360000);
}

// A small cursor over the text being parsed.
struct Scanner {
    std::string_view text;
    size_t pos = 0;

    bool done() const { return pos == text.size(); }
    bool accept(char c) {
        if (pos < text.size() && text[pos] == c) {
            ++pos;
            return true;
        }
        return false;
    }
    bool acceptWord(std::string_view word) {
        if (text.substr(pos, word.size()) != word)
            return false;
        pos += word.size();
        return true;
    }
    void skipBlanks() {
        while (pos < text.size() && text[pos] == ' ')
            ++pos;
    }
    // Exactly `count` digits when count > 0, otherwise 1 to 7.
    std::optional<int> number(int count = 0) {
        int value = 0, digits = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' &&
               (count ? digits < count : digits < 7)) {
            value = value * 10 + (text[pos++] - '0');
            ++digits;
        }
        if (digits == 0 || (count && digits != count))
            return std::nullopt;
        return value;
    }
    bool peekDateStart() const {
        size_t p = pos + (pos < text.size() && text[pos] == '-');
        while (p < text.size() && text[p] >= '0' && text[p] <= '9')
            ++p;
        return p < text.size() && text[p] == '-';
    }
};

bool ParseDate(Scanner& s, TimeFields& f) {
    bool negative = s.accept('-');
    auto year = s.number();
    if (!year || !s.accept('-'))
        return false;
    auto month = s.number(2);
    if (!month || !s.accept('-'))
        return false;
    auto day = s.number(2);
    if (!day)
        return false;
    f.year = negative ? -*year : *year;
    f.month = *month;
    f.day = *day;
    return ValidDate(f);
}

bool ParseClock(Scanner& s, TimeFields& f) {
    auto hour = s.number(2);
    if (!hour || !s.accept(':'))
        return false;
    auto minute = s.number(2);
    if (!minute)
        return false;
    f.hour = *hour;
    f.minute = *minute;
    f.second = f.hundredth = 0;
    if (s.accept(':')) {
        auto second = s.number(2);
        if (!second)
            return false;
        f.second = *second;
        if (s.accept('.')) {
            auto hundredth = s.number(2);
            if (!hundredth)
                return false;
            f.hundredth = *hundredth;
        }
    }
    return ValidClock(f);
}

bool ParseZone(Scanner& s, TimeFields& f) {
    int sign = s.accept('+') ? 1 : s.accept('-') ? -1 : 0;
    if (!sign)
        return false;
    auto hours = s.number(2);
    if (!hours || !s.accept(':'))
        return false;
    auto minutes = s.number(2);
    if (!minutes || *minutes % 15 != 0)
        return false;
    f.zoneQuarters = sign * (*hours * 4 + *minutes / 15);
    return f.zoneQuarters >= -kMaxZoneQuarters && f.zoneQuarters <= kMaxZoneQuarters;
}

} // namespace

int64_t JulianDay(int year, int month, int day) {
    // Days from civil, counted from 1970-01-01, then moved to the Julian day count.
    const int64_t y = static_cast<int64_t>(year) - (month <= 2);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 + kUnixEpochJulianDay;
}

void CivilDate(int64_t julianDay, int& year, int& month, int& day) {
    const int64_t z = julianDay - kUnixEpochJulianDay + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

uint32_t DayOf(TimeValue value) {
    return value.dayNumber & kDayMask;
}

int ZoneQuartersOf(TimeValue value) {
    return static_cast<int8_t>(static_cast<uint8_t>((value.dayNumber >> 24) & 0x7F) << 1) >> 1;
}

bool IsDaylightSaving(TimeValue value) {
    return (value.dayNumber & kDstBit) != 0;
}

bool IsValidTime(TimeValue value) {
    const bool noTime = value.timeOfDay == kAbsentHalf, noDate = value.dayNumber == kAbsentHalf;
    if (noTime && noDate)
        return false;
    if (noDate)
        return value.timeOfDay < kHundredthsPerDay;
    const int zone = ZoneQuartersOf(value);
    if (DayOf(value) > kMaxDay || zone < -kMaxZoneQuarters || zone > kMaxZoneQuarters)
        return false;
    if (noTime)
        return (value.dayNumber & ~kDayMask) == 0;
    return value.timeOfDay < kHundredthsPerDay;
}

std::optional<int64_t> HundredthsSinceEpoch(TimeValue value) {
    if (value.timeOfDay == kAbsentHalf || value.dayNumber == kAbsentHalf)
        return std::nullopt;
    return static_cast<int64_t>(DayOf(value)) * kHundredthsPerDay + value.timeOfDay;
}

TimeValue TimeFromHundredths(int64_t hundredths, uint32_t zoneAndDst) {
    return {static_cast<uint32_t>(hundredths % kHundredthsPerDay),
            static_cast<uint32_t>(hundredths / kHundredthsPerDay) | (zoneAndDst & ~kDayMask)};
}

std::optional<TimeValue> TimeFromFields(const TimeFields& f) {
    if (!f.hasDate && !f.hasTime)
        return std::nullopt;
    if ((f.hasDate && !ValidDate(f)) || (f.hasTime && !ValidClock(f)))
        return std::nullopt;
    if (!f.hasDate)
        return TimeValue{ClockHundredths(f), kAbsentHalf};
    const int64_t localDay = JulianDay(f.year, f.month, f.day);
    if (!f.hasTime) {
        if (localDay < 0 || localDay > kMaxDay)
            return std::nullopt;
        return TimeValue{kAbsentHalf, static_cast<uint32_t>(localDay)};
    }
    if (f.zoneQuarters < -kMaxZoneQuarters || f.zoneQuarters > kMaxZoneQuarters)
        return std::nullopt;
    const int64_t utc =
        localDay * kHundredthsPerDay + ClockHundredths(f) - LocalShift(f.zoneQuarters, f.dst);
    if (utc < 0 || utc >= (static_cast<int64_t>(kMaxDay) + 1) * kHundredthsPerDay)
        return std::nullopt;
    return TimeFromHundredths(utc, ZoneBits(f.zoneQuarters) | (f.dst ? kDstBit : 0));
}

std::optional<TimeFields> FieldsFromTime(TimeValue value) {
    if (!IsValidTime(value))
        return std::nullopt;
    TimeFields f;
    if (value.dayNumber == kAbsentHalf) {
        f.hasDate = false;
        SetClock(f, value.timeOfDay);
        return f;
    }
    if (value.timeOfDay == kAbsentHalf) {
        f.hasTime = false;
        CivilDate(DayOf(value), f.year, f.month, f.day);
        return f;
    }
    f.zoneQuarters = ZoneQuartersOf(value);
    f.dst = IsDaylightSaving(value);
    const int64_t local = *HundredthsSinceEpoch(value) + LocalShift(f.zoneQuarters, f.dst);
    const int64_t localDay =
        local >= 0 ? local / kHundredthsPerDay : -1 - (-local - 1) / kHundredthsPerDay;
    CivilDate(localDay, f.year, f.month, f.day);
    SetClock(f, local - localDay * kHundredthsPerDay);
    return f;
}

std::string TimeToText(TimeValue value, TimeParts parts, bool showZone) {
    if (value == kEarliestTime)
        return {};
    const auto f = FieldsFromTime(value);
    if (!f)
        return {};
    char date[24] = "", clock[16] = "", zone[16] = "";
    if (f->hasDate && parts != TimeParts::TimeOnly)
        std::snprintf(date, sizeof date, f->year < 0 ? "%05d-%02d-%02d" : "%04d-%02d-%02d", f->year,
                      f->month, f->day);
    if (f->hasTime && parts != TimeParts::DateOnly)
        std::snprintf(clock, sizeof clock, "%02d:%02d:%02d.%02d", f->hour, f->minute, f->second,
                      f->hundredth);
    if (f->hasDate && f->hasTime && parts == TimeParts::DateAndTime && showZone) {
        const int q = f->zoneQuarters < 0 ? -f->zoneQuarters : f->zoneQuarters;
        std::snprintf(zone, sizeof zone, " %c%02d:%02d%s", f->zoneQuarters < 0 ? '-' : '+', q / 4,
                      q % 4 * 15, f->dst ? " DST" : "");
    }
    std::string text = date;
    if (*date && *clock)
        text += ' ';
    return text + clock + zone;
}

std::optional<TimeValue> TextToTime(std::string_view text) {
    Scanner s{text};
    s.skipBlanks();
    if (s.done())
        return kEarliestTime;
    TimeFields f;
    f.hasDate = s.peekDateStart();
    if (f.hasDate && !ParseDate(s, f))
        return std::nullopt;
    s.skipBlanks();
    f.hasTime = !s.done();
    if (f.hasTime && !ParseClock(s, f))
        return std::nullopt;
    s.skipBlanks();
    if (f.hasDate && f.hasTime && !s.done()) {
        if (!ParseZone(s, f))
            return std::nullopt;
        s.skipBlanks();
        f.dst = s.acceptWord("DST");
        s.skipBlanks();
    }
    if (!s.done())
        return std::nullopt;
    return TimeFromFields(f);
}

int CompareTimes(TimeValue a, TimeValue b) {
    auto key = [](TimeValue v) {
        const uint64_t day = v.dayNumber == kAbsentHalf ? kAbsentHalf : DayOf(v);
        return day << 32 | v.timeOfDay;
    };
    const uint64_t ka = key(a), kb = key(b);
    return ka < kb ? -1 : ka > kb ? 1 : 0;
}

TimeValue CurrentTime() {
    using namespace std::chrono;
    const auto since = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    return TimeFromHundredths(since / 10 + kUnixEpochJulianDay * kHundredthsPerDay, 0);
}

} // namespace store
