#include "note.h"
#include "json_skim.h"
#include "text_utf8.h"

#include <cstdio>

namespace store {
namespace {

using nlohmann::json;

bool IsTimeText(const json& value) {
    return value.is_string() && TextToTime(value.get_ref<const std::string&>()).has_value();
}

bool AllOf(const json& value, bool (*fits)(const json&)) {
    if (!value.is_array())
        return false;
    for (const auto& element : value)
        if (!fits(element))
            return false;
    return true;
}

bool IsRun(const json& run) {
    return run.is_string() || (run.is_object() && run.contains("text") && run["text"].is_string());
}
bool IsParagraph(const json& paragraph) {
    return AllOf(paragraph, IsRun);
}
bool IsString(const json& value) {
    return value.is_string();
}
bool IsNumber(const json& value) {
    return value.is_number();
}

json OriginatorToJson(const OriginatorId& id) {
    json out = json::object();
    out["file"] = HexId(id.fileHalf);
    out["note"] = HexId(id.noteHalf);
    out["seq"] = id.sequence;
    out["seqTime"] = TimeToText(id.sequenceTime);
    return out;
}

} // namespace

bool SameItemName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

const Item* Note::find(std::string_view name) const {
    for (const auto& item : items)
        if (SameItemName(item.name, name))
            return &item;
    return nullptr;
}

Item* Note::find(std::string_view name) {
    return const_cast<Item*>(static_cast<const Note*>(this)->find(name));
}

bool ValueFitsType(uint16_t type, const json& value) {
    switch (type) {
    case ItemType::RichText:
        return value.is_string() || AllOf(value, IsParagraph);
    case ItemType::Attachment:
        return value.is_object() && value.contains("file") && value["file"].is_string();
    case ItemType::Number:
        return value.is_number();
    case ItemType::NumberRange:
        return AllOf(value, IsNumber);
    case ItemType::Time:
        return IsTimeText(value);
    case ItemType::TimeRange:
        return AllOf(value, IsTimeText);
    case ItemType::Text:
    case ItemType::Formula:
        return value.is_string();
    case ItemType::TextList:
        return AllOf(value, IsString);
    default:
        return false;
    }
}

std::string NoteToRecord(const Note& note) {
    nlohmann::ordered_json record;
    record["note"] = note.id;
    record["class"] = note.noteClass;
    record["modified"] = TimeToText(note.modified);
    if (note.deleted)
        record["deleted"] = true;
    record["oid"] = OriginatorToJson(note.originator);
    if (!note.deleted) {
        auto items = nlohmann::ordered_json::array();
        for (const auto& item : note.items) {
            nlohmann::ordered_json entry;
            entry["name"] = item.name;
            entry["type"] = item.type;
            if (item.sealed)
                entry["sealed"] = true;
            entry["value"] = item.rawValue.empty()
                                 ? nlohmann::ordered_json(item.value)
                                 : nlohmann::ordered_json::parse(item.rawValue, nullptr, false);
            items.push_back(std::move(entry));
        }
        record["items"] = std::move(items);
    }
    return record.dump(-1, ' ', false, json::error_handler_t::replace);
}

bool MaterializeItem(Item& item) {
    if (item.rawValue.empty())
        return true;
    json value = json::parse(item.rawValue, nullptr, false);
    if (value.is_discarded())
        return false;
    item.value = std::move(value);
    item.rawValue.clear();
    return true;
}

bool ItemFitsType(const Item& item) {
    // A raw body was checked to be one JSON value when it was read; its paragraphs are
    // checked when it is rendered, which reads a damaged one as empty.
    if (!item.rawValue.empty())
        return item.type == ItemType::RichText &&
               (item.rawValue.front() == '[' || item.rawValue.front() == '"');
    return item.sealed ? item.value.is_string() : ValueFitsType(item.type, item.value);
}

std::string HexId(uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%08X%08X", static_cast<unsigned>(value >> 32),
                  static_cast<unsigned>(value));
    return text;
}

std::optional<uint64_t> ParseHexId(std::string_view text) {
    if (text.size() != 16)
        return std::nullopt;
    uint64_t value = 0;
    for (char c : text) {
        const int digit = HexDigit(c);
        if (digit < 0)
            return std::nullopt;
        value = value << 4 | static_cast<unsigned>(digit);
    }
    return value;
}

} // namespace store
