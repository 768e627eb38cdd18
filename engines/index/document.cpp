#include "document.h"

#include "ole_date.h"

#include <windows.h>

#include <cmath>
#include <cstdio>

namespace engine_index {
namespace {

using Json = nlohmann::ordered_json;

std::string Dump(const Json& record) {
    return record.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// Whether text is UTF-8 as RFC 3629 has it (no overlong forms, surrogates or code points
// beyond U+10FFFF): what the JSON library writes unchanged.
bool IsUtf8(std::string_view text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int more = 0;
        unsigned char low = 0x80, high = 0xBF; // the range of the second byte
        if (c >= 0xC2 && c <= 0xDF) {
            more = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
            if (c == 0xE0)
                low = 0xA0;
            else if (c == 0xED)
                high = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
            if (c == 0xF0)
                low = 0x90;
            else if (c == 0xF4)
                high = 0x8F;
        } else {
            return false;
        }
        if (end - p <= more || p[1] < low || p[1] > high)
            return false;
        for (int i = 2; i <= more; ++i)
            if (p[i] < 0x80 || p[i] > 0xBF)
                return false;
        p += more + 1;
    }
    return true;
}

// A string as the JSON library's dump writes it, without building a JSON value: a record
// is mostly one long text, and copying it into a value and escaping it byte by byte through
// the library cost more than the rest of a Send.
void AppendString(std::string& out, std::string_view text) {
    if (!IsUtf8(text)) {
        out += Dump(Json(std::string(text))); // the library replaces what is not UTF-8
        return;
    }
    out += '"';
    size_t plain = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c != '"' && c != '\\')
            continue;
        out.append(text, plain, i - plain);
        plain = i + 1;
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default: {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        }
        }
    }
    out.append(text, plain, text.size() - plain);
    out += '"';
}

void AppendValue(std::string& out, const Json& value) {
    if (value.is_string())
        AppendString(out, value.get_ref<const std::string&>());
    else
        out += Dump(value);
}

// Civil date from days since 1970-01-01 (Howard Hinnant's algorithm).
void CivilFromDays(long long days, int* year, unsigned* month, unsigned* day) {
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(days - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    *day = doy - (153 * mp + 2) / 5 + 1;
    *month = mp < 10 ? mp + 3 : mp - 9;
    *year = static_cast<int>(yoe + era * 400 + (*month <= 2));
}

std::string DateText(double oleDate) {
    // OLE dates below zero count the fraction backwards from the day.
    const double whole = std::trunc(oleDate);
    const double fraction = std::fabs(oleDate - whole);
    constexpr long long secondsPerDay = ole_date::kSecondsPerDay;
    long long seconds = static_cast<long long>(whole) * secondsPerDay +
                        std::llround(fraction * secondsPerDay) -
                        ole_date::kUnixEpochDay * secondsPerDay;
    long long days =
        seconds >= 0 ? seconds / secondsPerDay : (seconds - (secondsPerDay - 1)) / secondsPerDay;
    const long long inDay = seconds - days * secondsPerDay;
    int year = 0;
    unsigned month = 0, day = 0;
    CivilFromDays(days, &year, &month, &day);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02lld:%02lld:%02lldZ", year, month, day,
                  inDay / 3600, inDay / 60 % 60, inDay % 60);
    return text;
}

} // namespace

double StoredNow() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const unsigned long long ticks =
        (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    constexpr double ticksPerDay = 864e9, daysFrom1601To1899 = 109205;
    return static_cast<double>(ticks) / ticksPerDay - daysFrom1601To1899;
}

std::string AddRecord(const Document& document) {
    size_t size = 96 + document.url.size() + document.engine.size() + document.schema.size() +
                  document.component.size();
    for (const auto& [name, value] : document.properties.items())
        size +=
            name.size() + 8 + (value.is_string() ? value.get_ref<const std::string&>().size() : 24);
    std::string record;
    record.reserve(size);
    record += R"({"op":"add","url":)";
    AppendString(record, document.url);
    record += R"(,"engine":)";
    AppendString(record, document.engine);
    record += R"(,"schema":)";
    AppendString(record, document.schema);
    record += R"(,"component":)";
    AppendString(record, document.component);
    record += R"(,"props":)";
    if (document.properties.is_object()) {
        record += '{';
        bool first = true;
        for (const auto& [name, value] : document.properties.items()) {
            if (!first)
                record += ',';
            first = false;
            AppendString(record, name);
            record += ':';
            AppendValue(record, value);
        }
        record += '}';
    } else {
        record += Dump(document.properties);
    }
    if (document.stored != 0)
        record += R"(,"stored":)" + Dump(Json(document.stored));
    record += '}';
    return record;
}

std::string RemoveRecord(std::string_view url) {
    Json record;
    record["op"] = "remove";
    record["url"] = url;
    return Dump(record);
}

std::string PropertyText(const Properties& value) {
    if (value.is_string())
        return value.get<std::string>();
    if (value.is_number_integer())
        return std::to_string(value.get<long long>());
    if (value.is_object() && value.contains("date") && value["date"].is_number())
        return DateText(value["date"].get<double>());
    return value.dump();
}

} // namespace engine_index
