#include "database_entries.h"

#include "settings/database_list.h"

#include <windowsx.h>

namespace tamsel {

DWORD configuredCount = 0;

namespace {

constexpr size_t pathBufferSize = slotPathLength + 1;

std::string Translated(WORD direction, const std::string& text) {
    char translated[pathBufferSize];
    const WORD length = StoreTranslateText(direction, text.c_str(), WORD(text.size()), translated,
                                           sizeof translated);
    return std::string(translated, length);
}

std::string SlotPath(int slot) {
    char path[pathBufferSize];
    return GetSlotPath(slot, path, sizeof path) ? path : "";
}

// Tells whether the slot still holds the path it was listed with.
int ListedSlot(HWND list, int entry, const std::string& text) {
    const LRESULT data = ListBox_GetItemData(list, entry);
    if (data <= 0 || data > userSlotCount)
        return -1;
    const int slot = int(data) - 1;
    const std::string path = SlotPath(slot);
    return !path.empty() && PlatformPath(path) == text ? slot : -1;
}

std::string EntryText(HWND list, int entry) {
    const int length = ListBox_GetTextLen(list, entry);
    if (length <= 0)
        return {};
    std::string text(size_t(length) + 1, '\0');
    text.resize(size_t(ListBox_GetText(list, entry, text.data())));
    return text;
}

// The mail file's path: absolute as given, else inside the data directory.
std::string MailFilePath(const char* dataDirectory) {
    char name[pathBufferSize];
    if (!StoreGetEnvString("DesktopSearchMailFile", name, sizeof name) &&
        !StoreGetEnvString("MailFile", name, sizeof name))
        return {};
    if (name[0] == '\\' || (name[0] && name[1] == ':'))
        return name;
    char joined[pathBufferSize];
    JoinPath(dataDirectory, name, joined, sizeof joined);
    return joined;
}

void ProposeIfDatabase(HWND list, const std::string& clientPath) {
    if (clientPath.empty() || OpenIndexedDatabase(nullptr, clientPath.c_str(), nullptr))
        return;
    const LRESULT entry = FindOrAddEntry(list, PlatformPath(clientPath));
    if (entry >= 0)
        ListBox_SetCurSel(list, 0);
}

} // namespace

std::string PlatformPath(const std::string& clientPath) {
    return Translated(STORE_TRANSLATE_TO_PLATFORM, clientPath);
}

std::string ClientPath(const std::string& platformPath) {
    return Translated(STORE_TRANSLATE_TO_CLIENT, platformPath);
}

LRESULT FindOrAddEntry(HWND list, const std::string& platformPath, int slot) {
    // Not LB_FINDSTRINGEXACT: it ignores case, and paths that differ in case are different.
    for (int entry = 0, count = ListBox_GetCount(list); entry < count; ++entry)
        if (EntryText(list, entry) == platformPath)
            return entry;
    const LRESULT added = ListBox_AddString(list, platformPath.c_str());
    if (added >= 0)
        ListBox_SetItemData(list, int(added), slot + 1);
    return added;
}

std::string EntryClientPath(HWND list, int entry) {
    const std::string text = EntryText(list, entry);
    const int slot = ListedSlot(list, entry, text);
    return slot >= 0 ? SlotPath(slot) : ClientPath(text);
}

int EntrySlot(HWND list, int entry) {
    return FindSlotByPath(EntryClientPath(list, entry).c_str());
}

void ListConfiguredDatabases(HWND list) {
    configuredCount = 0;
    for (int slot = 0; slot < userSlotCount; ++slot) {
        const std::string path = SlotPath(slot);
        if (!path.empty() && FindOrAddEntry(list, PlatformPath(path), slot) >= 0)
            ++configuredCount;
    }
}

void ProposeDefaultDatabases(HWND list) {
    char dataDirectory[STORE_PATH_SIZE];
    StoreGetDataDirectory(dataDirectory);
    ProposeIfDatabase(list, MailFilePath(dataDirectory));
    char roster[pathBufferSize];
    JoinPath(dataDirectory, "roster.zrb", roster, sizeof roster);
    ProposeIfDatabase(list, roster);
}

} // namespace tamsel
