#include "client_settings.h"

#include "database_list.h"
#include "ntamsel.h"

#include <atomic>
#include <cstring>

namespace tamsel {
namespace {

// One option kept as a byte; `raw` is the variable's own value (for "No..." variables the
// feature is on while it is clear).
struct Flag {
    const char* variable;
    std::atomic<BYTE> raw{0};
};

Flag indexEnabled{"DesktopSearchIndexEnabled"};
Flag adminLock{"AdminODSLock"};
Flag adminNoMenu{"AdminODSNoMenu"};
Flag adminDisabled{"AdminODS"};
Flag debug{"DesktopSearchDebug"};
Flag debugLots{"DesktopSearchDebugLots"};
Flag indexEncrypted{"DesktopSearchIndexEncrypted"};
Flag installInstructions{"DesktopSearchInstallInstructions"};
Flag allowRemote{"DesktopSearchAllowRemote"};
Flag indexDrafts{"DesktopSearchIndexDrafts"};
Flag noIndexChats{"DesktopSearchNoIndexChats"};
Flag noDelete{"DesktopSearchNoDelete"};
Flag indexOnIdle{"DesktopSearchIndexOnIdle"};
Flag indexDiscussion{"DesktopSearchIndexDiscussion"};
Flag noIndexHistory{"DesktopSearchNoIndexHistory"};
Flag noIndexAll{"DesktopSearchNoIndexAll"};
Flag skipLegal{"DesktopSearchSkipLegal"};
Flag buildVariant{"DesktopSearchBuildQuarrix"};
Flag computeOK{"DesktopSearchComputeOK"};

// The order in which the settings file is read.
Flag* const flagsInLoadOrder[] = {
    &indexEnabled, &adminLock,      &adminNoMenu,         &adminDisabled,   &debug,
    &debugLots,    &indexEncrypted, &installInstructions, &allowRemote,     &indexDrafts,
    &noIndexChats, &noDelete,       &indexOnIdle,         &indexDiscussion, &noIndexHistory,
    &noIndexAll,   &skipLegal,      &buildVariant,        &computeOK,
};

constexpr DWORD defaultFrequencyMinutes = 5;
constexpr DWORD maximumFrequencyMinutes = 99;
constexpr DWORD defaultWaitTime = 20;

std::atomic<bool> settingsLoaded{false};
std::atomic<DWORD> frequencyMinutes{defaultFrequencyMinutes};
std::atomic<DWORD> waitTime{defaultWaitTime};
std::atomic<LONG> installTime{0};
char dataFields[256];
std::atomic<BYTE> justRegistered{0};

void EnsureLoaded() {
    if (!settingsLoaded)
        LoadSettings();
}

BYTE Get(const Flag& flag) {
    EnsureLoaded();
    return flag.raw;
}

BYTE GetInverse(const Flag& flag) {
    return Get(flag) ? 0 : 1;
}

// Writes the variable only when the raw value changes.
void SetRaw(Flag& flag, BYTE on) {
    EnsureLoaded();
    const BYTE value = on ? 1 : 0;
    if (flag.raw != value)
        StoreSetEnvInt(flag.variable, value);
    flag.raw = value;
}

} // namespace

void LoadSettings() {
    settingsLoaded = true;
    for (Flag* flag : flagsInLoadOrder)
        flag->raw = StoreGetEnvInt(flag->variable) != 0 ? 1 : 0;

    const DWORD minutes = DWORD(StoreGetEnvInt("DesktopSearchFreqMinutes"));
    frequencyMinutes = minutes == 0                        ? defaultFrequencyMinutes
                       : minutes > maximumFrequencyMinutes ? maximumFrequencyMinutes
                                                           : minutes;

    char probe[2];
    waitTime = StoreGetEnvString("DesktopSearchWaitTime", probe, sizeof probe)
                   ? DWORD(StoreGetEnvInt("DesktopSearchWaitTime"))
                   : defaultWaitTime;

    installTime = StoreGetEnvInt("DesktopSearchInstallTime2");

    if (!StoreGetEnvString("DesktopSearchDataFields", dataFields, sizeof dataFields))
        dataFields[0] = '\0';

    LoadDatabaseList();
}

bool SettingsLoaded() {
    return settingsLoaded;
}

BYTE IsPluginAllowed() {
    return GetInverse(adminDisabled);
}
BYTE IsMenuSuppressed() {
    return Get(adminNoMenu);
}
BYTE IsSettingsLocked() {
    return Get(adminLock);
}
BYTE IsIndexingEnabled() {
    return Get(indexEnabled) && !Get(adminDisabled) ? 1 : 0;
}
BYTE IsDebugLogging() {
    return Get(debugLots) ? 1 : Get(debug);
}
BYTE IsVerboseDebugLogging() {
    return Get(debugLots);
}
BYTE GetIndexEncrypted() {
    return Get(indexEncrypted);
}
BYTE GetInstallInstructionsShown() {
    return Get(installInstructions);
}
BYTE IsRemoteAllowed() {
    return Get(allowRemote);
}
BYTE GetIndexDrafts() {
    return Get(indexDrafts);
}
BYTE GetIndexChats() {
    return GetInverse(noIndexChats);
}
BYTE GetSendDeletions() {
    return GetInverse(noDelete);
}
BYTE GetIndexOnIdle() {
    return Get(indexOnIdle);
}
BYTE GetIndexDiscussion() {
    return Get(indexDiscussion);
}
BYTE GetIndexHistory() {
    return GetInverse(noIndexHistory);
}
BYTE GetIndexAllForms() {
    return GetInverse(noIndexAll);
}
BYTE GetSkipLegal() {
    return Get(skipLegal);
}
BYTE GetBuildVariant() {
    return Get(buildVariant);
}
BYTE GetComputeOK() {
    return Get(computeOK);
}

void SetIndexingEnabled(BYTE on) {
    // Compared with the effective state, so that with "AdminODS" set switching on always writes.
    const BYTE value = on ? 1 : 0;
    if (IsIndexingEnabled() != value)
        StoreSetEnvInt(indexEnabled.variable, value);
    indexEnabled.raw = value;
}

void SetIndexEncrypted(BYTE on) {
    SetRaw(indexEncrypted, on);
}
void SetInstallInstructionsShown(BYTE on) {
    SetRaw(installInstructions, on);
}
void SetIndexDrafts(BYTE on) {
    SetRaw(indexDrafts, on);
}
void SetIndexOnIdle(BYTE on) {
    SetRaw(indexOnIdle, on);
}
void SetIndexDiscussion(BYTE on) {
    SetRaw(indexDiscussion, on);
}
void SetIndexHistory(BYTE on) {
    SetRaw(noIndexHistory, on ? 0 : 1);
}

DWORD GetFrequencyMinutes() {
    EnsureLoaded();
    return frequencyMinutes;
}

void SetFrequencyMinutes(DWORD minutes) {
    if (minutes == 0)
        minutes = defaultFrequencyMinutes;
    else if (minutes > maximumFrequencyMinutes)
        minutes = maximumFrequencyMinutes;
    EnsureLoaded();
    if (frequencyMinutes != minutes)
        StoreSetEnvInt("DesktopSearchFreqMinutes", LONG(minutes));
    frequencyMinutes = minutes;
}

DWORD GetWaitTime() {
    EnsureLoaded();
    return waitTime;
}

LONG GetInstallTime() {
    EnsureLoaded();
    return installTime;
}

void SetInstallTime(LONG value) {
    if (value == 0) {
        StoreSetEnvString("DesktopSearchInstallTime2", "");
        installTime = 0;
        return;
    }
    EnsureLoaded();
    if (installTime != value)
        StoreSetEnvInt("DesktopSearchInstallTime2", value);
    installTime = value;
}

BYTE GetDataFields(char* buffer) {
    EnsureLoaded();
    buffer[0] = '\0';
    if (dataFields[0] == '\0')
        return 0;
    std::memcpy(buffer, dataFields, std::strlen(dataFields) + 1);
    return 1;
}

BYTE GetJustRegistered() {
    return justRegistered;
}
void SetJustRegistered(BYTE on) {
    justRegistered = on ? 1 : 0;
}

} // namespace tamsel
