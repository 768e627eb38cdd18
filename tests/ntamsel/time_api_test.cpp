#include "ntamsel.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

namespace {

STORETIME Parse(const char* text) {
    STORETIME time{};
    EXPECT_EQ(StoreTextToTime(nullptr, nullptr, text, 200, &time), STORE_NOERROR) << text;
    return time;
}

std::string Render(const STORETIME& time, const STORETIMEFORMAT* format = nullptr) {
    char buffer[80];
    WORD length = 0;
    EXPECT_EQ(StoreTimeToText(nullptr, format, &time, buffer, sizeof buffer, &length),
              STORE_NOERROR);
    return std::string(buffer, length);
}

TEST(TimeApi, RenderedTextReadsBackExactly) {
    std::mt19937 random(7);
    for (int i = 0; i < 1000; ++i) {
        const int zone = static_cast<int>(random() % 113) - 56;
        const STORETIME time{static_cast<DWORD>(random() % 8640000),
                             static_cast<DWORD>(random() % 0xFFFFFF) |
                                 (static_cast<DWORD>(zone) & 0x7F) << 24 |
                                 static_cast<DWORD>(random() % 2) << 31};
        const STORETIME back = Parse(Render(time).c_str());
        ASSERT_EQ(back.timeOfDay, time.timeOfDay) << Render(time);
        ASSERT_EQ(back.dayNumber, time.dayNumber) << Render(time);
    }
}

TEST(TimeApi, EarliestTimeIsNeverAndEmpty) {
    STORETIME earliest, latest, now;
    StoreSetTimeConstant(STORE_TIME_EARLIEST, &earliest);
    StoreSetTimeConstant(STORE_TIME_LATEST, &latest);
    StoreCurrentTime(&now);
    EXPECT_EQ(Render(earliest), "");
    EXPECT_LT(StoreCompareTimes(&earliest, &now), 0);
    EXPECT_LT(StoreCompareTimes(&now, &latest), 0);
    EXPECT_EQ(StoreCompareTimes(&earliest, &earliest), 0);
}

std::string LocalMinute() {
    SYSTEMTIME local;
    GetLocalTime(&local);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", local.wYear, local.wMonth,
                  local.wDay, local.wHour, local.wMinute);
    return text;
}

TEST(TimeApi, CurrentTimeIsTheMachinesLocalClock) {
    const std::string before = LocalMinute();
    STORETIME now;
    StoreCurrentTime(&now);
    const std::string after = LocalMinute();
    const std::string shown = Render(now).substr(0, 16);
    EXPECT_TRUE(shown == before || shown == after) << shown << " vs " << before;
}

TEST(TimeApi, FormatPicksPartsAndShortBuffersStayUnterminated) {
    const STORETIME time = Parse("2026-12-08 18:00:00.00 +01:00");
    const STORETIMEFORMAT dateOnly{0, 0, 1, 0}, timeOnly{0, 0, 0, 1}, noZone{0, 0, 0, 2};
    EXPECT_EQ(Render(time, &dateOnly), "2026-12-08");
    EXPECT_EQ(Render(time, &timeOnly), "18:00:00.00");
    EXPECT_EQ(Render(time, &noZone), "2026-12-08 18:00:00.00");
    char small[10];
    std::fill(std::begin(small), std::end(small), '#');
    WORD length = 0;
    ASSERT_EQ(StoreTimeToText(nullptr, nullptr, &time, small, sizeof small, &length),
              STORE_NOERROR);
    EXPECT_EQ(length, 10u);
    EXPECT_EQ(std::string(small, 10), "2026-12-08");
    STORETIME bad{};
    EXPECT_EQ(StoreTextToTime(nullptr, nullptr, "not a time", 10, &bad), STORE_ERR_BAD_ARGUMENT);
    EXPECT_EQ(StoreTimeToText(nullptr, nullptr, nullptr, small, sizeof small, &length),
              STORE_ERR_BAD_ARGUMENT);
}

TEST(TimeApi, PartsAndFieldsInUniversalTime) {
    const STORETIME time = Parse("2026-12-08 00:30:00.00 +01:00");
    STORETIMEFIELDS utc{};
    ASSERT_EQ(StoreTimeToFields(&time, 0, FALSE, &utc), STORE_NOERROR);
    EXPECT_EQ(utc.year * 10000 + utc.month * 100 + utc.day, 20261207);
    EXPECT_EQ(utc.hour, 23);
    EXPECT_EQ(utc.minute, 30);
    EXPECT_EQ(utc.weekday, 2) << "a Monday";

    const STORETIME dateOnly = Parse("2026-12-08");
    EXPECT_EQ(StoreTimeTimePart(&dateOnly), STORE_TIME_ABSENT);
    STORETIME midnight;
    ASSERT_EQ(StoreTimeConstruct(StoreTimeDayNumber(&dateOnly), 0, &midnight), STORE_NOERROR);
    EXPECT_EQ(Render(midnight), "2026-12-08 00:00:00.00 +00:00");
    const STORETIME timeOnly = Parse("07:15");
    EXPECT_EQ(StoreTimeDatePart(&timeOnly), STORE_TIME_ABSENT);
    EXPECT_EQ(StoreTimeConstruct(0, 9000000, &midnight), STORE_ERR_BAD_ARGUMENT);
}

} // namespace
