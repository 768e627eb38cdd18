#include "text_list.h"

#include "conversion_buffers.h"

namespace tamsel {
namespace {

void WriteDisplayForm(std::string_view entry, char* buffer, WORD capacity, int& length) {
    // The entry buffer holds the entry terminated.
    length += StoreTextToLocal(entry.data(), buffer + length, WORD(capacity - length));
}

} // namespace

WORD JoinListEntries(NOTEHANDLE note, const char* itemName, char* buffer, WORD capacity,
                     EntryWriter write) {
    if (capacity == 0)
        return 0;
    buffer[0] = '\0';
    const int count = StoreTextListCount(note, itemName);
    int length = 0;
    for (int index = 0; index < count && length < capacity; ++index) {
        const WORD entryLength =
            StoreTextListEntry(note, itemName, WORD(index), listEntry, textBufferSize);
        if (entryLength == 0)
            continue;
        write(std::string_view(listEntry, entryLength), buffer, capacity, length);
        if (index == count - 1 || length >= capacity - 3)
            break;
        buffer[length++] = ',';
        buffer[length++] = ' ';
    }
    buffer[length] = '\0';
    return WORD(length);
}

WORD JoinTextList(NOTEHANDLE note, const char* itemName, char* buffer, WORD capacity) {
    return JoinListEntries(note, itemName, buffer, capacity, WriteDisplayForm);
}

bool ItemHasText(NOTEHANDLE note, const char* itemName) {
    char text[4];
    return StoreReadItemText(note, itemName, text, sizeof text) > 0;
}

} // namespace tamsel
