#include "note_json.h"
#include "item_values.h"
#include "rich_text.h"

#include <optional>
#include <stdexcept>

namespace zrb {
namespace {

using nlohmann::json;
namespace Type = store::ItemType;

// A JSON number that is a whole number from 0 to `largest`, else none.
std::optional<uint16_t> SmallNumber(const json& value, uint16_t largest) {
    if (!value.is_number_integer() || value.get<long long>() < 0 ||
        value.get<long long>() > largest)
        return std::nullopt;
    return static_cast<uint16_t>(value.get<long long>());
}

bool AllStrings(const json& value) {
    for (const auto& entry : value)
        if (!entry.is_string())
            return false;
    return true;
}

store::Item ItemFromInput(const std::string& name, const json& value) {
    store::Item item{name, Type::Text, false, value};
    if (value.is_number()) {
        item.type = Type::Number;
    } else if (value.is_array()) {
        item.type = !value.empty() && value[0].is_number() ? Type::NumberRange : Type::TextList;
    } else if (value.is_object()) {
        item.sealed = store::FieldOr(value, "sealed", false);
        if (value.contains("time")) {
            item.type = value["time"].is_array() ? Type::TimeRange : Type::Time;
            item.value = value["time"];
        } else if (value.contains("richtext")) {
            item.type = Type::RichText;
            item.value = value["richtext"].is_string()
                             ? store::RichTextFromPlain(value["richtext"].get<std::string>())
                             : value["richtext"];
        } else if (value.contains("attachment")) {
            item.type = Type::Attachment;
            item.value = {{"file", value["attachment"]},
                          {"size", store::FieldOr(value, "size", 0)}};
        } else if (value.contains("formula")) {
            item.type = Type::Formula;
            item.value = value["formula"];
        } else if (value.contains("type")) {
            const auto type = SmallNumber(value["type"], 0xFFFF);
            if (!type)
                throw std::runtime_error("item \"" + name +
                                         "\": \"type\" must be a number from 0 to 65535, not " +
                                         value["type"].dump());
            item.type = *type;
            item.value = store::FieldOr(value, "value", json());
        } else {
            throw std::runtime_error("item \"" + name + "\": cannot tell its type");
        }
    }
    if (item.type == Type::TextList && !AllStrings(item.value))
        throw std::runtime_error("item \"" + name + "\": a list mixes texts and other values");
    if (!store::ValueFitsType(item.type, item.value))
        throw std::runtime_error("item \"" + name + "\": the value does not fit type " +
                                 std::to_string(item.type));
    return item;
}

} // namespace

store::Note NoteFromInput(const json& input, uint64_t sealKey) {
    if (!input.is_object() || !input.contains("items") || !input["items"].is_object())
        throw std::runtime_error("the note needs an object \"items\"");
    store::Note note;
    if (input.contains("class")) {
        const auto noteClass = SmallNumber(input["class"], 0xFFFF);
        if (!noteClass)
            throw std::runtime_error("\"class\" must be a number from 0 to 65535, not " +
                                     input["class"].dump());
        note.noteClass = *noteClass;
    }
    for (const auto& [name, value] : input["items"].items()) {
        // A list of objects is several items of one name, such as one "$FILE" per attachment.
        const bool several = value.is_array() && !value.empty() && value[0].is_object();
        for (const json& one : several ? value : json::array({value})) {
            store::Item item = ItemFromInput(name, one);
            if (item.sealed)
                item.value = store::SealValue(item.value, sealKey);
            note.items.push_back(std::move(item));
        }
    }
    return note;
}

json NoteToOutput(const store::Note& note) {
    return json::parse(store::NoteToRecord(note));
}

} // namespace zrb
