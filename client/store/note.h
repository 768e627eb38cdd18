// One version of a note as it is kept in the journal: identity, class, modification time and
// typed items. Item values stay in their JSON form; item_values.h reads them as the caller asks.
#pragma once
#include "store_time.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace store {

namespace ItemType {
constexpr uint16_t RichText = 1;   // paragraphs, each an array of runs (text or {"text": ...})
constexpr uint16_t Attachment = 3; // {"file": name, "size": bytes}
constexpr uint16_t Number = 768;
constexpr uint16_t NumberRange = 769;
constexpr uint16_t Time = 1024; // the time's text form
constexpr uint16_t TimeRange = 1025;
constexpr uint16_t Text = 1280;
constexpr uint16_t TextList = 1281;
constexpr uint16_t Formula = 1536; // formula source text
} // namespace ItemType

namespace NoteClass {
constexpr uint16_t Document = 0x0001;
constexpr uint16_t Info = 0x0002;
constexpr uint16_t Form = 0x0004;
constexpr uint16_t View = 0x0008;
} // namespace NoteClass

struct OriginatorId {
    uint64_t fileHalf = 0, noteHalf = 0; // the universal id
    uint32_t sequence = 0;
    TimeValue sequenceTime;
    friend bool operator==(const OriginatorId&, const OriginatorId&) = default;
};

struct Item {
    std::string name;
    uint16_t type = ItemType::Text;
    bool sealed = false; // encrypted: the value is unreadable until the note is decrypted
    nlohmann::json value;
    // A rich text value as read from the journal, parsed only when a caller needs its JSON
    // (MaterializeItem); `value` is null meanwhile. A damaged one renders as empty text.
    std::string rawValue = {};
};

// Parses a raw rich text value into `value`; false when it is not JSON.
bool MaterializeItem(Item& item);

struct Note {
    uint32_t id = 0;
    uint16_t noteClass = NoteClass::Document;
    TimeValue modified;
    bool deleted = false;
    OriginatorId originator;
    std::vector<Item> items;

    // Item names compare without regard to ASCII case; the first item of a name wins.
    const Item* find(std::string_view name) const;
    Item* find(std::string_view name);
};

bool SameItemName(std::string_view a, std::string_view b);

// A field of a JSON object, or `fallback` when it is missing or holds another type: files are
// input, never trusted to have the shape we wrote.
template <class T> T FieldOr(const nlohmann::json& object, const char* key, T fallback) {
    if (!object.is_object())
        return fallback;
    const auto found = object.find(key);
    if (found == object.end())
        return fallback;
    try {
        return found->template get<T>();
    } catch (const nlohmann::json::exception&) {
        return fallback;
    }
}
// Whether a value has the JSON shape its type needs.
bool ValueFitsType(uint16_t type, const nlohmann::json& value);

// The journal record of a note version, keys in the order the fast scan expects.
std::string NoteToRecord(const Note& note);
// Empty with `error` set when the record is not a well-formed note. Read from the text without
// a JSON document: rich text values stay raw (bodies are the bulk of a note), texts and lists
// of texts are decoded directly, and only other values are parsed.
std::optional<Note> NoteFromRecord(std::string_view record, std::string& error);
// Parses JSON text, replacing malformed UTF-8 when it does not parse as it is; discarded when
// it is not JSON.
nlohmann::json ParseJsonText(std::string_view text);
// Whether the item's value (raw or parsed) has the shape its type needs.
bool ItemFitsType(const Item& item);

std::string HexId(uint64_t value);
std::optional<uint64_t> ParseHexId(std::string_view text);

} // namespace store
