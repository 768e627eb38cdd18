// The plain text of a note's rich-text body, as the client renders it.
#pragma once
#include "ntamsel.h"

#include <string>

namespace tamsel {

// The accumulated text is handed on whenever it reaches this many bytes.
constexpr size_t BodyChunkLimit = 58976;

// The text of the item (the standard body without a name), leading blank lines dropped;
// empty when it is missing or cannot be rendered. With a compound the text goes into it
// instead, and the result only says whether any was added.
std::wstring BodyToText(NOTEHANDLE note, const char* itemName, COMPOUNDHANDLE compound);

bool AppendBodyToCompound(NOTEHANDLE note, const char* itemName, COMPOUNDHANDLE compound);

} // namespace tamsel
