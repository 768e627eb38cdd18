#include "ntamsel.h"
#include "settings_file.h"
#include "settings_text.h"
#include "text_convert.h"

#include <string>

using namespace ntamsel;

extern "C" LONG WINAPI StoreGetEnvInt(const char* name) {
    if (!name || !IsValidSettingName(name))
        return 0;
    const auto value = ReadSetting(name);
    return value ? ParseSettingInt(*value) : 0;
}

extern "C" BOOL WINAPI StoreGetEnvString(const char* name, char* buffer, WORD bufferSize) {
    if (buffer && bufferSize > 0)
        buffer[0] = '\0';
    if (!name || !IsValidSettingName(name))
        return FALSE;
    const auto value = ReadSetting(name);
    if (!value)
        return FALSE;
    CopyBounded(*value, buffer, bufferSize);
    return TRUE;
}

extern "C" STORESTATUS WINAPI StoreSetEnvString(const char* name, const char* value) {
    if (!name || !IsValidSettingName(name))
        return STORE_ERR_BAD_ARGUMENT;
    return WriteSetting(name, value ? value : "") ? STORE_NOERROR : STORE_ERR_SETTINGS_IO;
}

extern "C" STORESTATUS WINAPI StoreSetEnvInt(const char* name, LONG value) {
    return StoreSetEnvString(name, std::to_string(value).c_str());
}
