#include "document.h"

#include <cmath>
#include <cstdio>

namespace engine_index {
namespace {

using Json = nlohmann::ordered_json;

std::string Dump(const Json& record) {
    return record.dump(-1, ' ', false, Json::error_handler_t::replace);
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
    long long seconds = static_cast<long long>(whole) * 86400 +
                        std::llround(fraction * 86400) - 25569LL * 86400;
    long long days = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
    const long long inDay = seconds - days * 86400;
    int year = 0;
    unsigned month = 0, day = 0;
    CivilFromDays(days, &year, &month, &day);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02lld:%02lld:%02lldZ", year, month, day,
                  inDay / 3600, inDay / 60 % 60, inDay % 60);
    return text;
}

} // namespace

std::string AddRecord(const Document& document) {
    Json record;
    record["op"] = "add";
    record["url"] = document.url;
    record["engine"] = document.engine;
    record["schema"] = document.schema;
    record["component"] = document.component;
    record["props"] = document.properties;
    return Dump(record);
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
