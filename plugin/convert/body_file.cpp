#include "body_file.h"

#include "ntamsel.h"

#include <cstdio>
#include <cstring>

namespace tamsel {
namespace {

constexpr char fixedBodyFileName[] = "td_tmpbody.txt";

void Translate(WORD direction, const char* from, char* to) {
    StoreTranslateText(direction, from, WORD(std::strlen(from)), to, bodyPathSize - 1);
}

} // namespace

void ChooseBodyFilePaths(BodyFilePaths& paths) {
    paths.platform[0] = paths.client[0] = '\0';
    char directory[MAX_PATH + 1];
    const DWORD length = GetTempPathA(sizeof directory, directory);
    const char prefix[4] = {fixedBodyFileName[0], fixedBodyFileName[1], fixedBodyFileName[2]};
    // Creates the file, so a directory that cannot be written gives no name.
    if (length > 0 && length < sizeof directory &&
        GetTempFileNameA(directory, prefix, 0, paths.platform) != 0) {
        Translate(STORE_TRANSLATE_TO_CLIENT, paths.platform, paths.client);
        return;
    }
    paths.platform[0] = '\0';
    char dataDirectory[STORE_PATH_SIZE];
    if (StoreGetDataDirectory(dataDirectory) == 0)
        return;
    std::snprintf(paths.client, bodyPathSize, "%s\\%s", dataDirectory, fixedBodyFileName);
    Translate(STORE_TRANSLATE_TO_PLATFORM, paths.client, paths.platform);
}

} // namespace tamsel
