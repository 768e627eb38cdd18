#include "convert/engine_date.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace tamsel;

namespace {

STORETIME ClientTime(const char* text) {
    STORETIME time{};
    EXPECT_EQ(StoreTextToTime(nullptr, nullptr, text, WORD(std::strlen(text)), &time),
              STORE_NOERROR)
        << text;
    return time;
}

TEST(EngineDate, FromPartsFollowsTheCalendarAndCountsBackBeforeDayZero) {
    const struct {
        WORD year, month, day, hour, minute, second;
        std::optional<DATE> expected;
    } cases[] = {
        {1899, 12, 30, 0, 0, 0, 0.0},
        {1899, 12, 29, 6, 0, 0, -1.25},
        {1970, 1, 1, 12, 0, 0, 25569.5},
        {2004, 2, 29, 0, 0, 0, 38046.0},
        {2000, 2, 29, 0, 0, 0, 36585.0},
        {2005, 2, 29, 0, 0, 0, std::nullopt},
        {1900, 2, 29, 0, 0, 0, std::nullopt}, // divisible by 100, not by 400
        {2006, 4, 31, 0, 0, 0, std::nullopt},
        {2006, 0, 1, 0, 0, 0, std::nullopt},
        {2006, 13, 1, 0, 0, 0, std::nullopt},
        {2006, 1, 0, 0, 0, 0, std::nullopt},
        {2006, 1, 1, 24, 0, 0, std::nullopt},
        {2006, 1, 1, 0, 60, 0, std::nullopt},
        {2006, 1, 1, 0, 0, 60, std::nullopt},
        {10000, 1, 1, 0, 0, 0, std::nullopt},
        {9999, 12, 31, 23, 59, 59, 2958465.0 + 86399.0 / 86400},
        {50, 6, 1, 0, 0, 0, -675545.0}, // years below 100 are still counted
    };
    for (const auto& c : cases) {
        const auto date = DateFromParts(c.year, c.month, c.day, c.hour, c.minute, c.second);
        ASSERT_EQ(date.has_value(), c.expected.has_value())
            << c.year << "-" << c.month << "-" << c.day;
        if (date) {
            EXPECT_DOUBLE_EQ(*date, *c.expected) << c.year << "-" << c.month << "-" << c.day;
        }
    }
}

TEST(EngineDate, ClientTimesBecomeUtcWhateverTheirZone) {
    const struct {
        const char* text;
        std::optional<DATE> expected;
    } cases[] = {
        {"2006-05-17 09:30:00.00 +08:00", 38854.0 + 1.5 / 24},
        {"2006-05-16 22:30:00.00 -03:00", 38854.0 + 1.5 / 24}, // the next day in UTC
        {"2006-05-17 09:30:00.99 +08:00", 38854.0 + 1.5 / 24}, // hundredths dropped
        {"2006-05-17", 38854.0},                               // midnight UTC
        {"18:00:00.00", std::nullopt},                         // no date
    };
    for (const auto& c : cases) {
        const auto date = ToEngineDate(ClientTime(c.text));
        ASSERT_EQ(date.has_value(), c.expected.has_value()) << c.text;
        if (date) {
            EXPECT_NEAR(*date, *c.expected, 1e-9) << c.text;
        }
    }
    EXPECT_FALSE(ToEngineDate({0, STORE_TIME_ABSENT}));
    EXPECT_FALSE(ToEngineDate({12345, 0x00FFFFFF})) << "a day number past the client's range";
}

TEST(EngineDate, FieldsAreRoundedToTheNearestSecondAcrossMidnight) {
    const struct {
        DATE date;
        DateFields expected;
    } cases[] = {
        {38854.5, {2006, 5, 17, 12, 0, 0}},
        {38854.0 + 86399.6 / 86400, {2006, 5, 18, 0, 0, 0}}, // carries into the next day
        {38854.0 + 86399.4 / 86400, {2006, 5, 17, 23, 59, 59}},
        {-1.25, {1899, 12, 29, 6, 0, 0}},
        {-1.0 - 86399.6 / 86400, {1899, 12, 30, 0, 0, 0}}, // the fraction counts back
        {-657434.0, {100, 1, 1, 0, 0, 0}},
        {2958465.0 + 86399.0 / 86400, {9999, 12, 31, 23, 59, 59}},
    };
    for (const auto& c : cases) {
        const auto fields = BreakEngineDate(c.date);
        ASSERT_TRUE(fields) << c.date;
        EXPECT_EQ(std::tie(fields->year, fields->month, fields->day, fields->hour, fields->minute,
                           fields->second),
                  std::tie(c.expected.year, c.expected.month, c.expected.day, c.expected.hour,
                           c.expected.minute, c.expected.second))
            << c.date;
    }
    for (const DATE outside : {-657434.5, 2958466.0, 1e300, -1e300})
        EXPECT_FALSE(BreakEngineDate(outside)) << outside;
}

TEST(EngineDate, FormattedWithStrftimeOrInvalid) {
    EXPECT_EQ(FormatEngineDate(38854.5, "%m-%d-%Y %H:%M:%S"), "05-17-2006 12:00:00");
    EXPECT_EQ(FormatEngineDate(38854.5, "%A %j"), "Wednesday 137");
    EXPECT_EQ(FormatEngineDate(-657435.0, "%m-%d-%Y"), "Invalid DateTime");
}

} // namespace
