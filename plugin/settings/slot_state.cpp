#include "slot_state.h"

#include <cctype>
#include <climits>
#include <cstring>
#include <vector>

namespace tamsel {
namespace {

constexpr WORD timeTextSize = 80;

// Runs of separators count as one; empty fields are dropped.
std::vector<std::string> Fields(const char* text) {
    std::vector<std::string> fields;
    std::string field;
    for (const char* c = text;; ++c) {
        if (*c == '|' || *c == '\0') {
            if (!field.empty())
                fields.push_back(field);
            field.clear();
            if (*c == '\0')
                return fields;
        } else {
            field += *c;
        }
    }
}

bool ParseTime(const std::string& text, STORETIME& time) {
    if (text.size() > 0xFFFF)
        return false;
    STORETIME parsed;
    if (StoreTextToTime(nullptr, nullptr, text.c_str(), WORD(text.size()), &parsed) !=
        STORE_NOERROR)
        return false;
    time = parsed;
    return true;
}

LONG CountFrom(const std::string& field) {
    const long long value = LeadingNumber(field.c_str());
    return value > LONG_MAX ? LONG_MAX : LONG(value);
}

} // namespace

SlotState EmptySlotState() {
    SlotState state{};
    StoreSetTimeConstant(STORE_TIME_EARLIEST, &state.lastIndexedTime);
    state.untilTime = state.lastIndexedTime;
    return state;
}

SlotState ParseSlotState(const char* text) {
    SlotState state = EmptySlotState();
    const auto fields = Fields(text);
    if (!fields.empty() && fields[0] != "0")
        state.lastIndexedValid = ParseTime(fields[0], state.lastIndexedTime);
    if (fields.size() > 1)
        state.resumeValid = ParseTime(fields[1], state.untilTime);
    if (!state.resumeValid)
        return state;
    if (fields.size() > 2)
        state.resumeNoteId = NOTEID(LeadingNumber(fields[2].c_str()));
    if (fields.size() > 4) {
        state.savedProcessed = CountFrom(fields[3]);
        state.savedTotal = CountFrom(fields[4]);
    }
    return state;
}

bool TimeText(const STORETIME& time, std::string& text) {
    char buffer[timeTextSize];
    WORD length = 0;
    if (StoreTimeToText(nullptr, nullptr, &time, buffer, sizeof buffer, &length) != STORE_NOERROR ||
        length > sizeof buffer)
        return false;
    text.assign(buffer, length);
    return true;
}

long long LeadingNumber(const char* text) {
    while (std::isspace(static_cast<unsigned char>(*text)))
        ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    long long value = 0;
    for (; std::isdigit(static_cast<unsigned char>(*text)); ++text)
        if (value <= LLONG_MAX / 100)
            value = value * 10 + (*text - '0');
    if (negative)
        value = -value;
    return value > static_cast<long long>(ULONG_MAX) ? ULONG_MAX
           : value < LONG_MIN                        ? LONG_MIN
                                                     : value;
}

} // namespace tamsel
