// Text lists and texts of items, read into the caller's buffer in the client's character set.
#pragma once
#include "ntamsel.h"

namespace tamsel {

// The entries in their display form joined with ", ", empty entries skipped; a list that does
// not fit is cut after the last entry that fitted. Returns the length written.
WORD JoinTextList(NOTEHANDLE note, const char* itemName, char* buffer, WORD capacity);

// The item exists and reads as a non-empty text.
bool ItemHasText(NOTEHANDLE note, const char* itemName);

} // namespace tamsel
