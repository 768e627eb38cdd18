// The "Categories" list with the client's standard category codes spelled out.
#pragma once
#include "ntamsel.h"

namespace tamsel {

// Entries joined with ", ", empty ones skipped; "H", "V", "P", "C", "PC" and "T" (any case)
// become their names in the user's language. Returns the length written.
WORD ReadCategoryList(NOTEHANDLE note, const char* itemName, char* buffer, WORD capacity);

} // namespace tamsel
