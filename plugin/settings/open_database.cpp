#include "base/user_interface.h"
#include "catalogue/catalogue.h"
#include "client_settings.h"
#include "database_list.h"
#include "store_owners.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace tamsel {
namespace {

constexpr size_t partLength = 255;

MessageId OpenFailureMessage(STORESTATUS status) {
    return status == STORE_ERR_NOT_DATABASE_FILE || status == STORE_ERR_NOT_DATABASE
               ? msgNotADatabase
               : msgDatabaseCannotBeOpened;
}

void ShowFailure(HWND owner, const char* path, std::optional<MessageId> message) {
    if (!owner || !message)
        return;
    char text[fixedMessageSize];
    LoadMessageFixed(*message, text);
    // The path is in the client's character set; the box speaks the platform's code page.
    char caption[2 * STORE_PATH_SIZE];
    const WORD length = StoreTranslateText(STORE_TRANSLATE_TO_PLATFORM, path,
                                           WORD(std::min<size_t>(std::strlen(path), 0xFFFF)),
                                           caption, sizeof caption - 1);
    caption[std::min<size_t>(length, sizeof caption - 1)] = '\0';
    userInterface.messageBox(owner, text, caption, MB_ICONERROR | MB_OK);
}

// Appends at most `limit` bytes of `text` without splitting a character.
void AppendCut(char* result, size_t resultSize, const char* text, size_t limit) {
    size_t length = std::strlen(result);
    const char* end = text;
    for (const char* next = end; *end; end = next) {
        next = StoreNextCharacter(end);
        if (size_t(next - text) > limit || length + (next - text) + 1 > resultSize)
            break;
    }
    std::memcpy(result + length, text, end - text);
    result[length + (end - text)] = '\0';
}

// A UNC path (\\server\share\...) names a file on another machine just as "server!!file" does.
bool IsNetworkPath(const char* path) {
    const auto separator = [](char c) { return c == '\\' || c == '/'; };
    return separator(path[0]) && separator(path[1]);
}

// Status and message of opening and checking; the database stays open only when usable.
STORESTATUS OpenChecked(const char* path, UniqueDatabase& database,
                        std::optional<MessageId>& message) {
    if (!path || !*path) {
        message = msgInvalidDatabasePath;
        return STORE_ERR_NOT_DATABASE;
    }
    char server[STORE_PATH_SIZE], file[STORE_PATH_SIZE];
    if (STORESTATUS status = StoreParseNetPath(path, server, file)) {
        message = msgInvalidDatabasePath;
        return status;
    }
    if (!IsRemoteAllowed() && (server[0] || IsNetworkPath(path))) {
        message = msgOnlyLocalDatabases;
        return STORE_ERR_REMOTE_REFUSED;
    }
    if (STORESTATUS status = StoreOpenDatabase(path, database.put())) {
        database.release(); // a failed open owns nothing, whatever it left in the handle
        message = OpenFailureMessage(status);
        return status;
    }
    DWORD flags = 0;
    STORESTATUS status = StoreGetDatabaseFlags(database.get(), &flags);
    if (status == STORE_NOERROR && !(flags & STORE_DBFLAG_USABLE))
        status = STORE_ERR_UNUSABLE;
    if (status != STORE_NOERROR) {
        database.reset();
        message = OpenFailureMessage(status);
    }
    return status;
}

} // namespace

STORESTATUS OpenIndexedDatabase(HWND owner, const char* path, DBHANDLE* database) {
    if (!SettingsLoaded())
        LoadSettings();
    UniqueDatabase opened;
    std::optional<MessageId> message;
    const STORESTATUS status = OpenChecked(path, opened, message);
    if (database)
        *database = opened.release();
    ShowFailure(owner, path, message);
    return status;
}

STORESTATUS JoinPath(const char* directory, const char* fileName, char* result, size_t resultSize) {
    if (!result || resultSize == 0)
        return STORE_ERR_BAD_ARGUMENT;
    if (result != directory) {
        result[0] = '\0';
        AppendCut(result, resultSize, directory ? directory : "", partLength);
    }
    if (!fileName || !*fileName)
        return STORE_NOERROR;
    const size_t length = std::strlen(result);
    if (length > 0 && *StorePreviousCharacter(result, result + length) != '\\')
        AppendCut(result, resultSize, "\\", 1);
    if (*fileName == '\\' && result[0])
        fileName = StoreNextCharacter(fileName);
    AppendCut(result, resultSize, fileName, partLength);
    return STORE_NOERROR;
}

} // namespace tamsel
