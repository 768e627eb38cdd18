// Text lists and texts of items, read into the caller's buffer in the client's character set.
#pragma once
#include "ntamsel.h"

#include <string_view>

namespace tamsel {

// Writes one entry at `length`, at most up to the buffer's last byte, and advances `length`.
using EntryWriter = void (*)(std::string_view entry, char* buffer, WORD capacity, int& length);

// The non-empty entries of the item's list, each written by `write`, joined with ", ". An
// entry that does not fit is written as far as it fits and ends the list. Returns the length.
WORD JoinListEntries(NOTEHANDLE note, const char* itemName, char* buffer, WORD capacity,
                     EntryWriter write);

// The entries in their display form ("CN=Anna Berg/O=Acme" as "Anna Berg/Acme").
WORD JoinTextList(NOTEHANDLE note, const char* itemName, char* buffer, WORD capacity);

// The item exists and reads as a non-empty text.
bool ItemHasText(NOTEHANDLE note, const char* itemName);

} // namespace tamsel
