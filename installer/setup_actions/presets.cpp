#include "presets.h"

#include "setup_error.h"
#include "unicode_text.h"

#include <windows.h>

#include <cstdlib>

namespace setup {
namespace {

enum class PresetKind {
    Flag,      // 1 sets the variable; 0 removes it (every flag's default is off)
    Minutes,   // 1 to 99
    Count,     // 0 or more
    Databases, // paths separated by ";"
};

struct PresetDefinition {
    const char* property;
    const char* variable;
    PresetKind kind;
};

constexpr PresetDefinition presetTable[] = {
    {"INDEXING", "DesktopSearchIndexEnabled", PresetKind::Flag},
    {"DATABASES", "DesktopSearchFilePath", PresetKind::Databases},
    {"FREQUENCY", "DesktopSearchFreqMinutes", PresetKind::Minutes},
    {"DISABLE", "AdminODS", PresetKind::Flag},
    {"LOCK", "AdminODSLock", PresetKind::Flag},
    {"NOMENU", "AdminODSNoMenu", PresetKind::Flag},
    {"SKIPLEGAL", "DesktopSearchSkipLegal", PresetKind::Flag},
    {"NONOTICE", "DesktopSearchInstallInstructions", PresetKind::Flag},
    {"ALLOWREMOTE", "DesktopSearchAllowRemote", PresetKind::Flag},
    {"INDEXENCRYPTED", "DesktopSearchIndexEncrypted", PresetKind::Flag},
    {"INDEXDRAFTS", "DesktopSearchIndexDrafts", PresetKind::Flag},
    {"INDEXDISCUSSION", "DesktopSearchIndexDiscussion", PresetKind::Flag},
    {"NOCHATS", "DesktopSearchNoIndexChats", PresetKind::Flag},
    {"NOHISTORY", "DesktopSearchNoIndexHistory", PresetKind::Flag},
    {"NODELETE", "DesktopSearchNoDelete", PresetKind::Flag},
    {"WAITTIME", "DesktopSearchWaitTime", PresetKind::Count},
    {"DEBUG", "DesktopSearchDebug", PresetKind::Flag},
};

// The slots the list may fill; the last of the sixteen is the history database's.
constexpr int databaseSlots = 15;
constexpr size_t slotPathLength = 256;

[[noreturn]] void Refuse(const PresetDefinition& preset, const std::string& value,
                         const wchar_t* expected) {
    throw SetupError{Wide(preset.property) + L"=\"" + Wide(value) + L"\" is not valid: " +
                     expected + L"."};
}

// The whole text as a number from low to high, or nothing.
std::optional<long> Number(const std::string& text, long low, long high) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

bool IsAbsolute(const std::string& path) {
    return (path.size() >= 2 && path[1] == ':') || path.rfind("\\\\", 0) == 0 ||
           path.rfind("//", 0) == 0;
}

// The path as the client opens it, for telling whether the list already holds a database.
std::string Resolved(const std::string& path, const std::string& dataDirectory) {
    return IsAbsolute(path) || dataDirectory.empty() ? path : dataDirectory + "\\" + path;
}

bool SamePath(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), int(a.size()), b.c_str(),
                          int(b.size())) == CSTR_EQUAL;
}

// The plug-in names the first slot's variable without a number.
std::string SlotVariable(const PresetDefinition& preset, int slot) {
    return slot == 0 ? preset.variable : preset.variable + std::to_string(slot);
}

void AddDatabases(const PresetDefinition& preset, const std::string& value,
                  const std::string& dataDirectory, const SettingReader& setting,
                  std::vector<SettingChange>& changes) {
    std::vector<std::string> listed(databaseSlots);
    for (int slot = 0; slot < databaseSlots; ++slot)
        listed[slot] = setting(SlotVariable(preset, slot)).value_or("");
    size_t start = 0;
    while (start <= value.size()) {
        size_t end = value.find(';', start);
        if (end == std::string::npos)
            end = value.size();
        const std::string path = Trimmed(value.substr(start, end - start));
        start = end + 1;
        if (path.empty())
            continue;
        if (path.size() > slotPathLength || path.find_first_of("\r\n") != std::string::npos)
            Refuse(preset, path, L"a database's path has at most 256 characters on one line");
        bool known = false;
        for (const std::string& other : listed)
            known = known || (!other.empty() && SamePath(Resolved(other, dataDirectory),
                                                         Resolved(path, dataDirectory)));
        if (known)
            continue;
        int free = 0;
        while (free < databaseSlots && !listed[free].empty())
            ++free;
        if (free == databaseSlots)
            Refuse(preset, value, L"the client's list holds at most 15 databases");
        listed[free] = path;
        changes.push_back({SlotVariable(preset, free), path});
    }
}

} // namespace

std::vector<SettingChange> PresetChanges(const PropertyReader& property,
                                         const std::string& dataDirectory,
                                         const SettingReader& setting) {
    std::vector<SettingChange> changes;
    for (const PresetDefinition& preset : presetTable) {
        const std::string value = property(preset.property);
        if (value.empty())
            continue;
        switch (preset.kind) {
        case PresetKind::Flag:
            if (value != "0" && value != "1")
                Refuse(preset, value, L"it takes 0 or 1");
            changes.push_back({preset.variable, value == "1" ? "1" : ""});
            break;
        case PresetKind::Minutes:
            if (!Number(value, 1, 99))
                Refuse(preset, value, L"it takes the minutes between passes, 1 to 99");
            changes.push_back({preset.variable, std::to_string(*Number(value, 1, 99))});
            break;
        case PresetKind::Count:
            if (!Number(value, 0, 100000000))
                Refuse(preset, value, L"it takes a whole number from 0");
            changes.push_back({preset.variable, std::to_string(*Number(value, 0, 100000000))});
            break;
        case PresetKind::Databases:
            AddDatabases(preset, value, dataDirectory, setting, changes);
            break;
        }
    }
    return changes;
}

std::vector<std::string> PresetProperties() {
    std::vector<std::string> names;
    for (const PresetDefinition& preset : presetTable)
        names.push_back(preset.property);
    return names;
}

} // namespace setup
