// Where a message body is rendered to plain text for reading back.
#pragma once
#include <windows.h>

namespace tamsel {

constexpr WORD bodyPathSize = 768;

struct BodyFilePaths {
    char platform[bodyPathSize]; // for opening and deleting, in the platform's code page
    char client[bodyPathSize];   // for the client, in its character set
};

// A new file in the platform's temporary directory; when that directory gives none (it
// cannot be written, for one), "td_tmpbody.txt" in the client's data directory. A path that
// cannot be had is empty.
void ChooseBodyFilePaths(BodyFilePaths& paths);

} // namespace tamsel
