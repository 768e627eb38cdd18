#include "conversion_fixtures.h"
#include "convert/engine_date.h"
#include "convert/property_writers.h"

#include <cstring>

using namespace tamsel;

namespace {

using PropertyWriters = FakeEngineConversion;

// The content text an event sends, with the writers' lines in it.
std::string SentContent(FakeEngines& fakes, EngineEvent& event) {
    EXPECT_EQ(event.Send(), S_OK);
    const auto content = fakes.CallsStartingWith("AddProperty content=");
    return content.empty() ? "<none>" : content[0].substr(std::strlen("AddProperty content="));
}

TEST_F(PropertyWriters, TimeIdsSendUnixSecondsAndReplaceTheDefault) {
    const struct {
        PropertyId id;
        DATE date;
        const char* expected;
    } cases[] = {
        {43, 25569.5, "I4 43200"},
        {48, 25568.0, "I4 -86400"},                                       // before 1970
        {53, 25569.0 - 0.4 / 86400, "I4 0"},                              // the nearest second
        {43, 25569.0 + 0.6 / 86400, "I4 1"},                              //
        {48, *DateFromParts(2026, 7, 8, 16, 0, 0), "I4 1783526400"},      // a hair below it
        {53, *DateFromParts(1901, 12, 13, 20, 45, 52), "I4 -2147483648"}, // the earliest
        {58, *DateFromParts(1901, 12, 13, 20, 45, 51), "I4 -2147483648"}, // clamped, no wrap
        {43, 0.0, "I4 -2147483648"},                                      // 1899-12-30
        {48, -657434.0, "I4 -2147483648"},                                // 0100-01-01
        {58, 25569.0 + 49711, "I4 63104"}, // 4295030400 s: only the low 32 bits
    };
    for (const auto& c : cases) {
        fakes.calls.clear();
        EngineEvent event(indexTypeMail);
        EXPECT_EQ(SetEventDate(event, c.id, c.date), S_OK);
        EXPECT_EQ(event.Send(), S_OK);
        EXPECT_EQ(Added("time"), std::vector<std::string>{c.expected}) << c.date;
    }
}

TEST_F(PropertyWriters, EverySecondOfADayIsSentAsItself) {
    const LONG midnight = 1783468800; // 2026-07-08 00:00:00 UTC
    for (int second = 0; second < 86400; ++second) {
        const auto date = DateFromParts(2026, 7, 8, WORD(second / 3600), WORD(second / 60 % 60),
                                        WORD(second % 60));
        fakes.calls.clear();
        EngineEvent event(indexTypeMail);
        ASSERT_EQ(SetEventDate(event, 43, *date), S_OK);
        ASSERT_EQ(event.Send(), S_OK);
        ASSERT_EQ(Added("time"),
                  std::vector<std::string>{"I4 " + std::to_string(midnight + second)})
            << second;
    }
}

TEST_F(PropertyWriters, DateLinesShowGmtPlusEightAndSkipDatesBelow100) {
    const DATE may17At0130 = 38854.0 + 1.5 / 24;
    const struct {
        PropertyId id;
        DATE date;
        const char* expected;
    } cases[] = {
        {62, may17At0130, "\"start_date: (GMT+08:00) 2006-5-17 9:30:00\r\n\""},
        {64, 39082.0 + 23.0 / 24, "\"end_date: (GMT+08:00) 2007-1-1 7:00:00\r\n\""},
        {45, 100.0, "\"date_completed: (GMT+08:00) 1900-4-9 8:00:00\r\n\""},
        {60, 99.99, "\"\""},
        {61, 0.0, "\"\""},
        {63, -5.0, "\"\""},
        {3, may17At0130, "\"unknown: (GMT+08:00) 2006-5-17 9:30:00\r\n\""},
        {70, 3e6, "\"unknown: (GMT+08:00) -1--1--1 -1:-1:-1\r\n\""}, // beyond 9999
    };
    for (const auto& c : cases) {
        fakes.calls.clear();
        EngineEvent event(indexTypeMail);
        EXPECT_EQ(SetEventDate(event, c.id, c.date), S_OK);
        EXPECT_EQ(SentContent(fakes, event), c.expected) << c.id;
        EXPECT_EQ(Added("time"), std::vector<std::string>{"I4 0"}) << "the default time stays";
    }
}

TEST_F(PropertyWriters, EachIdIsSentKeptOrWrittenAsAContentLine) {
    EngineEvent event(indexTypeMail);
    EXPECT_EQ(SetEventText(event, propMailSubject, L"Harbour"), S_OK);
    EXPECT_EQ(SetEventText(event, propFrom, L""), S_OK);
    EXPECT_EQ(SetEventText(event, propTo, L"Bo"), S_OK);
    EXPECT_EQ(SetEventNumber(event, propFolderName, 12), S_OK);
    EXPECT_EQ(SetEventText(event, propMailUrl, L"first"), S_OK);
    EXPECT_EQ(SetEventText(event, propExtendedUrl, L"second"), S_OK);
    EXPECT_EQ(SetEventText(event, propContentFormat, L"text/html"), S_OK);
    EXPECT_EQ(SetEventText(event, 42, L"Quay 3"), S_OK);
    EXPECT_EQ(SetEventNumber(event, propMailFlags, 3000000000u), S_OK);
    EXPECT_EQ(SetEventText(event, 43, L"not a date"), S_OK);
    EXPECT_EQ(SetEventNumber(event, 67, 7), S_OK);
    const std::string content = SentContent(fakes, event);
    EXPECT_EQ(content, "\"location: Quay 3\r\nmail_flags: 3000000000\r\nunknown type: not a "
                       "date\r\nunknown type: 7\r\n\"");
    EXPECT_EQ(Added("subject"), std::vector<std::string>{"\"Harbour\""});
    EXPECT_TRUE(Added("from").empty()) << "an empty sender is not sent";
    EXPECT_EQ(Added("to"), std::vector<std::string>{"\"Bo\""});
    EXPECT_EQ(Added("folder_name"), std::vector<std::string>{"vt 19"});
    EXPECT_EQ(Added("url"), std::vector<std::string>{"\"second\""}) << "the last url wins";
    EXPECT_EQ(Added("content_format"), std::vector<std::string>{"\"text/html\""})
        << "given once, no default";
}

TEST_F(PropertyWriters, WithoutEngineEventEveryWriteAnswersTheCreationResult) {
    fakes.creation["ZendriEventFactory"] = E_FAIL;
    EngineEvent event(indexTypeMail);
    EXPECT_EQ(SetEventText(event, propMailSubject, L"x"), E_FAIL);
    EXPECT_EQ(SetEventText(event, 42, L"x"), E_FAIL);
    EXPECT_EQ(SetEventDate(event, 48, 38854.0), E_FAIL);
    EXPECT_EQ(SetEventDate(event, 62, 38854.0), E_FAIL);
    EXPECT_TRUE(fakes.CallsStartingWith("AddProperty").empty());
}

TEST_F(PropertyWriters, AnErrorValueIsNeverWrittenAsText) {
    EngineEvent event(indexTypeMail);
    VARIANT failed;
    failed.vt = VT_ERROR;
    failed.scode = E_OUTOFMEMORY;
    EXPECT_EQ(SetEventProperty(event, 42, failed), E_OUTOFMEMORY);
    EXPECT_EQ(SetEventProperty(event, propFrom, failed), S_OK) << "not a sender: not sent";
    EXPECT_EQ(SentContent(fakes, event), "\"\"");
}

} // namespace
