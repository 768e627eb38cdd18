// Reading a note version from its journal record in one pass over the text. A JSON document of
// a whole record costs dozens of allocations per item and the body's text several times over.
#include "json_skim.h"
#include "note.h"
#include "text_utf8.h"

namespace store {
namespace {

using nlohmann::json;

// An unsigned JSON integer of at most `max`.
std::optional<uint64_t> UnsignedOf(std::string_view raw, uint64_t max) {
    if (raw.empty() || raw.size() > 20 || (raw.size() > 1 && raw[0] == '0'))
        return std::nullopt;
    uint64_t value = 0;
    for (char c : raw) {
        if (c < '0' || c > '9')
            return std::nullopt;
        const unsigned digit = static_cast<unsigned>(c - '0');
        if (value > (max - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

// A JSON string value, malformed UTF-8 replaced; empty for any other value.
std::optional<std::string> StringOf(std::string_view raw) {
    size_t pos = 0;
    auto text = ReadJsonString(raw, pos);
    if (text && !IsValidUtf8(*text))
        *text = SanitizeUtf8(*text);
    return text;
}

std::optional<TimeValue> TimeOf(std::string_view raw) {
    const auto text = StringOf(raw);
    return text ? TextToTime(*text) : std::nullopt;
}

// The value of an item; texts and lists of texts, nearly all of them, without the parser.
json ValueOf(std::string_view raw) {
    if (raw.empty())
        return json();
    if (raw.front() == '"') {
        auto text = StringOf(raw);
        return text ? json(std::move(*text)) : json();
    }
    if (raw.front() != '[')
        return ParseJsonText(raw);
    json list = json::array();
    JsonEntries elements(raw, 0);
    std::string unused;
    while (elements.next(unused)) {
        const std::string_view element = elements.value();
        auto text = !element.empty() && element.front() == '"' ? StringOf(element) : std::nullopt;
        if (!text)
            return ParseJsonText(raw);
        list.push_back(std::move(*text));
    }
    return list;
}

struct Member {
    std::string_view key;
    std::string_view* value;
};

// Keeps the raw value of the current member when it is a wanted one; a later duplicate wins,
// as with a JSON parser.
void KeepWanted(const std::string& key, JsonEntries& members,
                std::initializer_list<Member> wanted) {
    for (const Member& member : wanted)
        if (key == member.key)
            *member.value = members.value();
}

// The wanted members of the object at text[pos]; answers the offset past the object, npos when
// it is none.
size_t TakeMembers(std::string_view text, size_t pos, std::initializer_list<Member> wanted) {
    JsonEntries members(text, pos);
    std::string key;
    while (members.next(key))
        KeepWanted(key, members, wanted);
    return members.kind() == '{' ? members.end() : std::string_view::npos;
}

std::optional<OriginatorId> OriginatorOf(std::string_view raw) {
    std::string_view file, note, sequence, sequenceTime;
    if (TakeMembers(
            raw, 0,
            {{"file", &file}, {"note", &note}, {"seq", &sequence}, {"seqTime", &sequenceTime}}) ==
        std::string_view::npos)
        return std::nullopt;
    const auto fileText = StringOf(file), noteText = StringOf(note);
    const auto fileHalf = fileText ? ParseHexId(*fileText) : std::nullopt;
    const auto noteHalf = noteText ? ParseHexId(*noteText) : std::nullopt;
    if (!fileHalf || !noteHalf)
        return std::nullopt;
    OriginatorId id;
    id.fileHalf = *fileHalf;
    id.noteHalf = *noteHalf;
    id.sequence = static_cast<uint32_t>(UnsignedOf(sequence, UINT32_MAX).value_or(0));
    id.sequenceTime = TimeOf(sequenceTime).value_or(kEarliestTime);
    return id;
}

// One entry of the item list at text[pos]: appended to `items`, or `error` set when it is not
// a well-formed item. Answers the offset past the entry, npos when it is not JSON.
size_t ReadItem(std::string_view text, size_t pos, std::vector<Item>& items, std::string& error) {
    std::string_view name, type, sealed, value;
    const size_t end = TakeMembers(
        text, pos, {{"name", &name}, {"type", &type}, {"sealed", &sealed}, {"value", &value}});
    auto itemName = StringOf(name);
    const auto itemType = UnsignedOf(type, UINT16_MAX);
    if (!itemName || !itemType) {
        error = "an item without name or type";
        return end;
    }
    Item item;
    item.name = std::move(*itemName);
    item.type = static_cast<uint16_t>(*itemType);
    item.sealed = sealed == "true";
    if (item.type == ItemType::RichText && !item.sealed && !value.empty())
        item.rawValue = value; // parsed only when a caller needs its JSON
    else
        item.value = ValueOf(value);
    if (ItemFitsType(item))
        items.push_back(std::move(item));
    else
        error =
            "item \"" + item.name + "\" does not hold a value of type " + std::to_string(item.type);
    return end;
}

// Walks the item list at text[pos] into `items` (`error` names the first bad item); answers
// the offset past the list, npos when it is not JSON.
size_t ReadItems(std::string_view text, size_t pos, std::vector<Item>& items, std::string& error) {
    JsonEntries entries(text, pos);
    if (entries.kind() != '[') {
        error = "items are not a list";
        return SkipJsonValue(text, pos);
    }
    std::string unused;
    while (entries.next(unused) && error.empty())
        entries.skipTo(ReadItem(text, entries.valueStart(), items, error));
    return error.empty() ? entries.end() : SkipJsonValue(text, pos);
}

} // namespace

std::optional<Note> NoteFromRecord(std::string_view record, std::string& error) {
    std::string_view id, noteClass, modified, deleted, originator;
    Note note;
    std::string itemError, key;
    JsonEntries members(record, 0);
    while (members.next(key)) {
        if (key == "items") {
            note.items.clear();
            itemError.clear();
            members.skipTo(ReadItems(record, members.valueStart(), note.items, itemError));
            continue;
        }
        KeepWanted(key, members,
                   {{"note", &id},
                    {"class", &noteClass},
                    {"modified", &modified},
                    {"deleted", &deleted},
                    {"oid", &originator}});
    }
    if (members.kind() != '{' || members.end() == std::string_view::npos ||
        record.find_first_not_of(" \t\r\n", members.end()) != std::string_view::npos) {
        error = "not a JSON object";
        return std::nullopt;
    }
    const auto noteId = UnsignedOf(id, UINT32_MAX);
    const auto time = TimeOf(modified);
    const auto originatorId = OriginatorOf(originator);
    error = !noteId         ? "no note ID"
            : !time         ? "no modification time"
            : !originatorId ? "no originator id"
                            : itemError;
    if (!error.empty())
        return std::nullopt;
    note.id = static_cast<uint32_t>(*noteId);
    if (const auto number = UnsignedOf(noteClass, UINT16_MAX))
        note.noteClass = static_cast<uint16_t>(*number);
    note.modified = *time;
    note.deleted = deleted == "true";
    note.originator = *originatorId;
    return note;
}

json ParseJsonText(std::string_view text) {
    json parsed = json::parse(text, nullptr, false);
    if (parsed.is_discarded())
        parsed = json::parse(SanitizeUtf8(text), nullptr, false);
    return parsed;
}

} // namespace store
