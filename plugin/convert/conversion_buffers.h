// Scratch buffers of the converters. Process-wide because the indexing thread's stack is small;
// only that thread uses them, and no two users of one buffer ever nest.
#pragma once
#include <windows.h>

namespace tamsel {

constexpr WORD textBufferSize = 32768;
constexpr WORD wideBufferBytes = 60000;

extern char itemText[textBufferSize];     // an item's text on its way to a property
extern char mailItemText[textBufferSize]; // a standard mail item read through the client
extern char listEntry[textBufferSize];    // one entry of a text list
extern char windowTitle[textBufferSize];  // a document's title from its form's formula
extern wchar_t wideText[wideBufferBytes / sizeof(wchar_t)]; // a text translated to UTF-16

} // namespace tamsel
