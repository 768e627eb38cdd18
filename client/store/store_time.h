// The client's time value: two 32-bit halves, kept in universal time so that values compare
// as instants whatever zone they were written in.
//
//   timeOfDay  hundredths of a second since midnight UTC (0 .. 8,639,999)
//   dayNumber  bits 0-23   Julian day number of the UTC date (0 .. 0xFFFFFE)
//              bits 24-30  zone offset of the writer in quarter hours, 7-bit two's complement
//                          (-56 .. +56), standard time, east positive
//              bit 31      daylight saving time was in effect (local clock = zone + 1 hour)
//
// A half with all bits set is absent: a date-only value has no time of day, a time-only value
// no day number; such halves are shown and kept as written, without a zone. {0, 0} is the
// earliest time ("never"); its text is empty.
//
// Text form: "2026-12-08 18:00:00.00 +01:00" or "... +01:00 DST", date and clock in the
// writer's local time. Date-only "2026-12-08" and time-only "18:00:00.00" texts parse too; a
// date and time without a zone is taken as UTC.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace store {

constexpr uint32_t kAbsentHalf = 0xFFFFFFFF;
constexpr uint32_t kHundredthsPerDay = 8'640'000;
constexpr uint32_t kMaxDay = 0xFFFFFE;
constexpr int kMaxZoneQuarters = 56;

struct TimeValue {
    uint32_t timeOfDay = 0;
    uint32_t dayNumber = 0;
    friend bool operator==(const TimeValue&, const TimeValue&) = default;
};

// The calendar view of a value in the writer's local time. An absent part is marked absent.
struct TimeFields {
    bool hasDate = true, hasTime = true;
    int year = 0, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0, hundredth = 0;
    int zoneQuarters = 0; // standard offset, east positive
    bool dst = false;
};

constexpr TimeValue kEarliestTime{0, 0};

bool IsValidTime(TimeValue value);
uint32_t DayOf(TimeValue value);
int ZoneQuartersOf(TimeValue value);
bool IsDaylightSaving(TimeValue value);

// Empty when a field is out of range.
std::optional<TimeValue> TimeFromFields(const TimeFields& fields);
std::optional<TimeFields> FieldsFromTime(TimeValue value);

// Which parts the text shows; a valid value always renders.
enum class TimeParts { DateAndTime, DateOnly, TimeOnly };
std::string TimeToText(TimeValue value, TimeParts parts = TimeParts::DateAndTime,
                       bool showZone = true);
std::optional<TimeValue> TextToTime(std::string_view text);

// Negative, zero or positive as a is before, at or after b; absent halves sort last.
int CompareTimes(TimeValue a, TimeValue b);
// The instant as hundredths of a second since Julian day 0; empty with an absent half.
std::optional<int64_t> HundredthsSinceEpoch(TimeValue value);
TimeValue TimeFromHundredths(int64_t hundredths, uint32_t zoneAndDst);
TimeValue CurrentTime();

// Julian day number of a proleptic Gregorian date and back.
int64_t JulianDay(int year, int month, int day);
void CivilDate(int64_t julianDay, int& year, int& month, int& day);

} // namespace store
