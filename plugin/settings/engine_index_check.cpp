#include "engine_index_check.h"

#include <windows.h>

namespace tamsel {

const char* engineIndexKey = "Software\\Orvenna\\Orvenna Desktop";

std::string EngineIndexCreationText() {
    BYTE value[100];
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, engineIndexKey, "index_creation_time", RRF_RT_REG_BINARY,
                     nullptr, value, &size) != ERROR_SUCCESS)
        return {};
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (DWORD i = 0; i < size; ++i) {
        text += digits[value[i] >> 4];
        text += digits[value[i] & 15];
    }
    return text;
}

} // namespace tamsel
