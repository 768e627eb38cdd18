#include "item_values.h"
#include "json_skim.h"
#include "rich_text.h"
#include "text_utf8.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace store {
namespace {

using nlohmann::json;

std::string ScalarText(uint16_t type, const json& value) {
    if (value.is_string() && (type == ItemType::Time || type == ItemType::TimeRange)) {
        const auto time = TextToTime(value.get<std::string>());
        return time ? TimeToText(*time) : std::string();
    }
    if (value.is_string())
        return value.get<std::string>();
    if (value.is_number())
        return NumberToText(value.get<double>());
    return {};
}

json FirstOf(const json& value) {
    return value.is_array() ? (value.empty() ? json() : value[0]) : value;
}

uint8_t KeyByte(uint64_t key, size_t index) {
    return static_cast<uint8_t>(key >> (8 * (index % 8))) ^ static_cast<uint8_t>(index * 131);
}

} // namespace

std::string NumberToText(double value) {
    if (!std::isfinite(value))
        return {};
    char text[32];
    for (int digits = 1; digits <= 17; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, value);
        if (std::strtod(text, nullptr) == value)
            break;
    }
    return text;
}

std::string ItemToText(const Item& item, std::string_view separator) {
    if (item.sealed)
        return {};
    switch (item.type) {
    case ItemType::RichText:
        return RenderItem(item, {"\r\n", 0, false});
    case ItemType::Attachment:
        return FieldOr(item.value, "file", std::string());
    default:
        break;
    }
    if (!item.value.is_array())
        return ScalarText(item.type, item.value);
    std::string text;
    for (size_t i = 0; i < item.value.size(); ++i) {
        if (i)
            text += separator;
        text += ScalarText(item.type, item.value[i]);
    }
    return text;
}

std::string RenderItem(const Item& item, const RenderOptions& options) {
    if (item.sealed)
        return {};
    if (item.type != ItemType::RichText)
        return RenderParagraphs(SplitLines(ItemToText(item, ", ")), options);
    if (item.rawValue.empty())
        return RenderRichText(item.value, options);
    return RenderParagraphs(RichTextParagraphs(item.rawValue).value_or(std::vector<std::string>()),
                            options);
}

std::vector<std::string> ItemTextList(const Item& item) {
    std::vector<std::string> entries;
    if (item.sealed)
        return entries;
    if (item.value.is_array() && item.type != ItemType::RichText)
        for (const auto& entry : item.value)
            entries.push_back(ScalarText(item.type, entry));
    else
        entries.push_back(ItemToText(item, ""));
    return entries;
}

std::optional<double> ItemNumber(const Item& item) {
    const json first = FirstOf(item.value);
    if (item.sealed || (item.type != ItemType::Number && item.type != ItemType::NumberRange) ||
        !first.is_number())
        return std::nullopt;
    return first.get<double>();
}

std::optional<TimeValue> ItemTime(const Item& item) {
    const json first = FirstOf(item.value);
    if (item.sealed || (item.type != ItemType::Time && item.type != ItemType::TimeRange) ||
        !first.is_string())
        return std::nullopt;
    return TextToTime(first.get<std::string>());
}

size_t ItemValueCount(const Item& item) {
    if (item.sealed)
        return 0;
    return item.value.is_array() && item.type != ItemType::RichText ? item.value.size() : 1;
}

std::string SealValue(const json& value, uint64_t key) {
    static const char digits[] = "0123456789ABCDEF";
    const std::string plain = value.dump(-1, ' ', false, json::error_handler_t::replace);
    std::string sealed;
    for (size_t i = 0; i < plain.size(); ++i) {
        const uint8_t byte = static_cast<uint8_t>(plain[i]) ^ KeyByte(key, i);
        sealed += digits[byte >> 4];
        sealed += digits[byte & 15];
    }
    return sealed;
}

std::optional<json> UnsealValue(const std::string& sealed, uint64_t key) {
    if (sealed.size() % 2)
        return std::nullopt;
    std::string plain;
    for (size_t i = 0; i < sealed.size(); i += 2) {
        const int high = HexDigit(sealed[i]), low = HexDigit(sealed[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        plain += static_cast<char>((high << 4 | low) ^ KeyByte(key, i / 2));
    }
    json value = json::parse(plain, nullptr, false);
    if (value.is_discarded())
        return std::nullopt;
    return value;
}

bool DecryptNote(Note& note, uint64_t key) {
    for (auto& item : note.items) {
        if (!item.sealed)
            continue;
        auto value = UnsealValue(item.value.get<std::string>(), key);
        if (!value || !ValueFitsType(item.type, *value))
            return false;
        item.value = std::move(*value);
        item.sealed = false;
    }
    return true;
}

} // namespace store
