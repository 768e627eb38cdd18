#include "contact_fields.h"

#include "item_text.h"

#include <string>
#include <string_view>

namespace tamsel {
namespace {

constexpr WORD labelCapacity = 32768;

// Reads the item at `length`, leaving room for the terminator; true when it gave text.
bool ReadPart(NOTEHANDLE note, const char* itemName, char* buffer, WORD capacity, int& length) {
    const WORD read =
        ReadItemText(note, itemName, buffer + length, WORD(capacity - length), Separator::commas);
    length += read;
    return read > 0;
}

void Append(char* buffer, int& length, std::string_view separator) {
    separator.copy(buffer + length, separator.size());
    length += int(separator.size());
    buffer[length] = '\0';
}

} // namespace

WORD AssembleAddress(NOTEHANDLE note, char* buffer, WORD capacity, const char* street,
                     const char* city, const char* state, const char* zip, const char* country) {
    if (capacity < 4)
        return 0;
    buffer[0] = '\0';
    const struct {
        const char* item;
        std::string_view separator;
        int stopAbove; // the free bytes the separator and terminator need
    } parts[] = {{street, "\r\n", capacity - 4},
                 {city, ", ", capacity - 4},
                 {state, " ", capacity - 3},
                 {zip, " ", capacity - 3}};
    int length = 0;
    for (const auto& part : parts) {
        const bool gaveText = ReadPart(note, part.item, buffer, capacity, length);
        if (length > part.stopAbove)
            return WORD(length);
        if (gaveText)
            Append(buffer, length, part.separator);
    }
    ReadPart(note, country, buffer, capacity, length);
    return WORD(length);
}

MiscKind ClassifyMiscLabel(NOTEHANDLE note, int slot) {
    const std::string itemName = "MiscLabel" + std::to_string(slot);
    std::string label(labelCapacity, '\0');
    label.resize(
        ReadItemText(note, itemName.c_str(), label.data(), labelCapacity, Separator::commas));
    if (label.empty())
        return MiscKind::none;
    for (char& c : label)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    // The label is looked for inside each fixed text, in this order: "e" is an e-mail label.
    static constexpr struct {
        std::string_view text;
        MiscKind kind;
    } kinds[] = {{"email", MiscKind::email},
                 {"onlinename", MiscKind::onlineName},
                 {"homeurl", MiscKind::homePage},
                 {"nickname", MiscKind::nickname},
                 {"url", MiscKind::url},
                 {"other email 1", MiscKind::email},
                 {"other email 2", MiscKind::email},
                 {"other email 3", MiscKind::email}};
    for (const auto& row : kinds)
        if (row.text.find(label) != std::string_view::npos)
            return row.kind;
    return MiscKind::none;
}

WORD CollectMiscValues(NOTEHANDLE note, char* buffer, WORD capacity, bool take1, bool take2,
                       bool take3) {
    if (capacity == 0)
        return 0;
    buffer[0] = '\0';
    const bool take[] = {take1, take2, take3};
    int length = 0;
    for (int slot = 1; slot <= 3; ++slot) {
        if (slot > 1 && length > capacity - 4)
            break;
        if (!take[slot - 1])
            continue;
        // The separator goes first and is taken back when the value is empty.
        const int before = length;
        if (length > 0)
            Append(buffer, length, ", ");
        if (!ReadPart(note, miscValueItems[slot - 1], buffer, capacity, length)) {
            length = before;
            buffer[length] = '\0';
        }
    }
    return WORD(length);
}

} // namespace tamsel
