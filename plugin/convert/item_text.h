// An item's text in the client's character set, whatever the item's type.
#pragma once
#include "ntamsel.h"

namespace tamsel {

enum class Separator { lines = 1, commas = 2 };

// Texts and text lists from their values, entries (and zero bytes inside an entry) separated
// by "\r\n" or ", "; other types as the client renders them. At most capacity - 1 bytes,
// terminated; 0 when the item is absent.
WORD ReadItemText(NOTEHANDLE note, const char* itemName, char* buffer, WORD capacity,
                  Separator separator);

// The note has the item (status 0 from the client).
bool HasItem(NOTEHANDLE note, const char* itemName);

} // namespace tamsel
