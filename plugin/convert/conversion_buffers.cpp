#include "conversion_buffers.h"

namespace tamsel {

char itemText[textBufferSize];
char mailItemText[textBufferSize];
char listEntry[textBufferSize];
char windowTitle[textBufferSize];
wchar_t wideText[wideBufferBytes / sizeof(wchar_t)];

} // namespace tamsel
