// A document of the index and the records that add or remove it.
#pragma once
#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace engine_index {

// A property value keeps its automation type: text (string), number (integer) or
// date ({"date": OLE date}).
using Properties = nlohmann::ordered_json;

struct Document {
    std::string url;
    std::string engine;    // "zendri" or "orvenna"
    std::string schema;    // e.g. "ZendriDS.Mail"
    std::string component; // the sending component's id
    Properties properties = Properties::object();
    std::uint64_t sequence = 0; // position of its record in the log
    double stored = 0;          // OLE date (UTC) the engine stored it; 0 = not told
};

// Now as an OLE date in UTC, the form of "stored".
double StoredNow();

std::string AddRecord(const Document& document);
std::string RemoveRecord(std::string_view url);

// A property as display text: text as it is, numbers in decimal, dates as ISO UTC.
std::string PropertyText(const Properties& value);

} // namespace engine_index
