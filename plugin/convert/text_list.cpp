#include "text_list.h"

#include "conversion_buffers.h"

namespace tamsel {

WORD JoinTextList(NOTEHANDLE note, const char* itemName, char* buffer, WORD capacity) {
    if (capacity == 0)
        return 0;
    buffer[0] = '\0';
    const int count = StoreTextListCount(note, itemName);
    int length = 0;
    for (int index = 0; index < count && length < capacity; ++index) {
        if (StoreTextListEntry(note, itemName, WORD(index), listEntry, textBufferSize) == 0)
            continue;
        length += StoreTextToLocal(listEntry, buffer + length, WORD(capacity - length));
        if (index == count - 1)
            break;
        if (length >= capacity - 3)
            break;
        buffer[length++] = ',';
        buffer[length++] = ' ';
    }
    buffer[length] = '\0';
    return WORD(length);
}

bool ItemHasText(NOTEHANDLE note, const char* itemName) {
    char text[4];
    return StoreReadItemText(note, itemName, text, sizeof text) > 0;
}

} // namespace tamsel
