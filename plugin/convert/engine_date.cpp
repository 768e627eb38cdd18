#include "engine_date.h"

#include "ole_date.h"

#include <cmath>
#include <ctime>

namespace tamsel {
namespace {

constexpr int daysBeforeMonth[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
constexpr DATE firstValidDate = -657434.0;    // 0100-01-01
constexpr DATE pastLastValidDate = 2958466.0; // 10000-01-01

bool IsLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month) {
    static constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

// Days since 1970-01-01 to the civil date (proleptic Gregorian).
void CivilFromDays(long long days, int& year, int& month, int& day) {
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long monthIndex = (5 * dayOfYear + 2) / 153;
    day = int(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    month = int(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    year = int(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

} // namespace

std::optional<DATE> DateFromParts(WORD year, WORD month, WORD day, WORD hour, WORD minute,
                                  WORD second) {
    if (year > 9999 || month == 0 || month > 12 || day == 0 || day > DaysInMonth(year, month) ||
        hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    long dayNumber =
        long(year) * 365 + year / 4 - year / 100 + year / 400 + daysBeforeMonth[month - 1] + day;
    if (IsLeapYear(year) && month <= 2)
        --dayNumber;
    dayNumber -= 693959;
    const DATE fraction = (hour * 3600.0 + minute * 60.0 + second) / ole_date::kSecondsPerDay;
    return dayNumber < 0 ? dayNumber - fraction : dayNumber + fraction;
}

std::optional<DATE> ToEngineDate(const STORETIME& value) {
    STORETIME time = value;
    if (StoreTimeDatePart(&time) == STORE_TIME_ABSENT)
        return std::nullopt;
    if (StoreTimeTimePart(&time) == STORE_TIME_ABSENT &&
        StoreTimeConstruct(StoreTimeDayNumber(&value), 0, &time) != STORE_NOERROR)
        return std::nullopt;
    STORETIMEFIELDS fields;
    if (StoreTimeToFields(&time, 0, FALSE, &fields) != STORE_NOERROR)
        return std::nullopt;
    const auto clock = [](int field) { return WORD(field < 0 ? 0 : field); };
    return DateFromParts(WORD(fields.year), WORD(fields.month), WORD(fields.day),
                         clock(fields.hour), clock(fields.minute), clock(fields.second));
}

std::optional<DATE> NoteModifiedDate(NOTEHANDLE note) {
    // Unknown notes leave the outputs alone: start from values without a date.
    STOREORIGINATORID originator{};
    originator.sequenceTime = {STORE_TIME_ABSENT, STORE_TIME_ABSENT};
    StoreGetNoteInfo(note, STORE_NOTEINFO_ORIGINATOR, &originator);
    if (const auto date = ToEngineDate(originator.sequenceTime))
        return date;
    STORETIME modified{STORE_TIME_ABSENT, STORE_TIME_ABSENT};
    StoreGetNoteInfo(note, STORE_NOTEINFO_MODIFIED, &modified);
    return ToEngineDate(modified);
}

std::optional<DateFields> BreakEngineDate(DATE date) {
    if (!(date >= firstValidDate && date < pastLastValidDate))
        return std::nullopt;
    // Below day 0 the fraction counts back: -1.25 is 06:00 of day -1.
    long long dayNumber = static_cast<long long>(std::trunc(date));
    const double seconds = std::fabs(date - double(dayNumber)) * ole_date::kSecondsPerDay;
    long long wholeSeconds = static_cast<long long>(std::floor(seconds));
    if (seconds - double(wholeSeconds) > 0.5)
        ++wholeSeconds;
    if (wholeSeconds >= ole_date::kSecondsPerDay) {
        wholeSeconds -= ole_date::kSecondsPerDay;
        ++dayNumber;
    }
    DateFields fields;
    CivilFromDays(dayNumber - ole_date::kUnixEpochDay, fields.year, fields.month, fields.day);
    if (fields.year < 100 || fields.year > 9999)
        return std::nullopt;
    fields.hour = int(wholeSeconds / 3600);
    fields.minute = int(wholeSeconds / 60 % 60);
    fields.second = int(wholeSeconds % 60);
    return fields;
}

std::string FormatEngineDate(DATE date, const char* format) {
    const auto fields = BreakEngineDate(date);
    if (!fields)
        return "Invalid DateTime";
    std::tm tm{};
    tm.tm_year = fields->year - 1900;
    tm.tm_mon = fields->month - 1;
    tm.tm_mday = fields->day;
    tm.tm_hour = fields->hour;
    tm.tm_min = fields->minute;
    tm.tm_sec = fields->second;
    tm.tm_yday = daysBeforeMonth[tm.tm_mon] + fields->day - 1 +
                 (IsLeapYear(fields->year) && fields->month > 2 ? 1 : 0);
    // 1899-12-30, day 0, was a Saturday.
    const long day =
        long(*DateFromParts(WORD(fields->year), WORD(fields->month), WORD(fields->day), 0, 0, 0));
    tm.tm_wday = int(((day + 6) % 7 + 7) % 7);
    char text[256];
    const size_t length = std::strftime(text, sizeof text, format, &tm);
    return std::string(text, length);
}

} // namespace tamsel
