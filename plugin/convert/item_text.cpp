#include "item_text.h"

#include "bounded_text.h"
#include "conversion_buffers.h"

#include <cstring>

namespace tamsel {
namespace {

// One entry, its zero bytes turned into the separator. False when the buffer is full.
bool AppendEntry(char* buffer, WORD capacity, int& length, std::string_view entry,
                 std::string_view separator) {
    for (size_t start = 0;;) {
        const size_t zero = entry.find('\0', start);
        if (!AppendBounded(buffer, capacity, length, entry.substr(start, zero - start)))
            return false;
        if (zero == std::string_view::npos)
            return true;
        if (!AppendBounded(buffer, capacity, length, separator))
            return false;
        start = zero + 1;
    }
}

} // namespace

bool HasItem(NOTEHANDLE note, const char* itemName) {
    return StoreGetItemInfo(note, itemName, WORD(std::strlen(itemName)), nullptr, nullptr, nullptr,
                            nullptr) == STORE_NOERROR;
}

WORD ReadItemText(NOTEHANDLE note, const char* itemName, char* buffer, WORD capacity,
                  Separator separatorMode) {
    if (capacity == 0)
        return 0;
    buffer[0] = '\0';
    WORD type = 0;
    if (StoreGetItemInfo(note, itemName, WORD(std::strlen(itemName)), &type, nullptr, nullptr,
                         nullptr) != STORE_NOERROR)
        return 0;
    if (type != STORE_TYPE_TEXT && type != STORE_TYPE_TEXT_LIST)
        return StoreReadItemText(note, itemName, buffer, capacity);
    const std::string_view separator = separatorMode == Separator::lines ? "\r\n" : ", ";
    const WORD count = StoreTextListCount(note, itemName);
    int length = 0;
    for (WORD index = 0; index < count; ++index) {
        const WORD entryLength =
            StoreTextListEntry(note, itemName, index, listEntry, textBufferSize);
        if ((index > 0 && !AppendBounded(buffer, capacity, length, separator)) ||
            !AppendEntry(buffer, capacity, length, {listEntry, entryLength}, separator))
            break;
    }
    return WORD(length);
}

} // namespace tamsel
