#include "store_time.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>

using namespace store;

namespace {

TEST(TimeText, RendersAndParsesKnownValues) {
    const struct {
        const char* text;
        TimeFields fields;
    } cases[] = {
        {"2026-12-08 18:00:00.00 +01:00", {true, true, 2026, 12, 8, 18, 0, 0, 0, 4, false}},
        {"2026-07-01 09:30:15.25 +01:00 DST", {true, true, 2026, 7, 1, 9, 30, 15, 25, 4, true}},
        {"2000-02-29 23:59:59.99 -09:30", {true, true, 2000, 2, 29, 23, 59, 59, 99, -38, false}},
        {"1999-12-31 00:00:00.00 +14:00", {true, true, 1999, 12, 31, 0, 0, 0, 0, 56, false}},
        {"2026-12-08", {true, false, 2026, 12, 8, 0, 0, 0, 0, 0, false}},
        {"07:05:00.00", {false, true, 0, 1, 1, 7, 5, 0, 0, 0, false}},
    };
    for (const auto& c : cases) {
        const auto value = TimeFromFields(c.fields);
        ASSERT_TRUE(value) << c.text;
        EXPECT_EQ(TimeToText(*value), c.text);
        EXPECT_EQ(TextToTime(c.text), value) << c.text;
    }
}

TEST(TimeText, AcceptsShortFormsAndRejectsNonsense) {
    EXPECT_EQ(TextToTime("2026-12-08 18:00"), TextToTime("2026-12-08 18:00:00.00 +00:00"));
    EXPECT_EQ(TextToTime("  18:00  "), TextToTime("18:00:00.00"));
    EXPECT_EQ(TextToTime(""), kEarliestTime);
    for (const char* bad :
         {"2026-13-01", "2026-02-29", "2026-12-08 24:00", "2026-12-08 10:60", "18:00 +01:00",
          "2026-12-08 18:00 +01:10", "2026-12-08 18:00 +15:00", "2026-12-08 18:00 +01:00 XYZ",
          "tomorrow", "2026-1-08", "12", "2026-12-08 18:00:00.", "-", "0"})
        EXPECT_FALSE(TextToTime(bad)) << bad;
}

TEST(TimeText, EarliestTimeHasAnEmptyText) {
    EXPECT_EQ(TimeToText(kEarliestTime), "");
    EXPECT_TRUE(IsValidTime(kEarliestTime));
    EXPECT_FALSE(IsValidTime({kAbsentHalf, kAbsentHalf}));
}

TEST(TimeText, ThousandRandomValuesRoundTripExactly) {
    std::mt19937 random(20261208);
    for (int i = 0; i < 1000; ++i) {
        TimeValue value;
        switch (random() % 5) {
        case 0:
            value = {kAbsentHalf, static_cast<uint32_t>(random() % (kMaxDay + 1))};
            break;
        case 1:
            value = {static_cast<uint32_t>(random() % kHundredthsPerDay), kAbsentHalf};
            break;
        default: {
            const int zone = static_cast<int>(random() % 113) - kMaxZoneQuarters;
            value = {static_cast<uint32_t>(random() % kHundredthsPerDay),
                     static_cast<uint32_t>(random() % (kMaxDay + 1)) |
                         (static_cast<uint32_t>(zone) & 0x7F) << 24 |
                         static_cast<uint32_t>(random() % 2) << 31};
        }
        }
        ASSERT_TRUE(IsValidTime(value));
        const std::string text = TimeToText(value);
        EXPECT_EQ(TextToTime(text), value) << text;
    }
}

TEST(TimeCompare, OrdersInstantsWhateverTheirZone) {
    const auto berlin = *TextToTime("2026-12-08 19:00:00.00 +01:00");
    const auto london = *TextToTime("2026-12-08 18:00:00.00 +00:00");
    const auto later = *TextToTime("2026-12-08 18:00:00.01 +00:00");
    EXPECT_EQ(CompareTimes(berlin, london), 0);
    EXPECT_LT(CompareTimes(london, later), 0);
    EXPECT_GT(CompareTimes(later, berlin), 0);
    EXPECT_LT(CompareTimes(kEarliestTime, london), 0);
}

TEST(TimeFields, DaylightSavingMovesTheLocalClockNotTheInstant) {
    TimeFields summer{true, true, 2026, 7, 1, 12, 0, 0, 0, 4, true};
    const auto value = *TimeFromFields(summer);
    EXPECT_EQ(TimeToText(value, TimeParts::TimeOnly), "12:00:00.00");
    EXPECT_EQ(value.timeOfDay, 10u * 360000) << "12:00 at +01:00 with DST is 10:00 UTC";
    EXPECT_EQ(DayOf(value), static_cast<uint32_t>(JulianDay(2026, 7, 1)));
    EXPECT_EQ(TimeToText(value, TimeParts::DateOnly), "2026-07-01");
}

TEST(TimeFields, JulianDaysFollowTheCalendar) {
    EXPECT_EQ(JulianDay(2000, 1, 1), 2451545);
    EXPECT_EQ(JulianDay(1970, 1, 1), 2440588);
    int y, m, d;
    CivilDate(0, y, m, d);
    EXPECT_EQ(std::make_tuple(y, m, d), std::make_tuple(-4713, 11, 24)) << "4714 BC";
    const auto now = CurrentTime();
    EXPECT_TRUE(IsValidTime(now));
    EXPECT_GT(CompareTimes(now, *TextToTime("2024-01-01 00:00")), 0);
}

} // namespace
