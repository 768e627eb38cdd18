#include "client_settings.h"

#include "catalogue/catalogue.h"
#include "database_list.h"
#include "ntamsel.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <climits>
#include <cstring>
#include <optional>
#include <string>

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
// A rest of more than a minute after every note would stall indexing: never meant.
constexpr long long maximumWaitTime = 60000;

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
STORESTATUS SetRaw(Flag& flag, BYTE on) {
    EnsureLoaded();
    const BYTE value = on ? 1 : 0;
    const STORESTATUS status = flag.raw != value ? StoreSetEnvInt(flag.variable, value) : 0;
    flag.raw = value;
    return status;
}

// A numeric variable's value: none when absent or empty; the text when it is not a whole
// decimal number of 32 bits.
struct NumberSetting {
    const char* variable;
    std::optional<long long> number;
    std::string text;
    bool present = false;
};

NumberSetting ReadNumber(const char* variable) {
    NumberSetting setting{variable, std::nullopt, {}, false};
    char text[64];
    if (!StoreGetEnvString(variable, text, sizeof text))
        return setting;
    setting.text = text;
    const size_t first = setting.text.find_first_not_of(" \t");
    const size_t last = setting.text.find_last_not_of(" \t");
    if (first == std::string::npos)
        return setting;
    setting.present = true;
    const std::string digits = setting.text.substr(first, last - first + 1);
    long long value = 0;
    const char* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data() + (digits[0] == '+'), end, value);
    if (error == std::errc() && stop == end && value >= LONG_MIN && value <= LONG_MAX)
        setting.number = value;
    return setting;
}

// A value that cannot be meant gives way to the default, said once per load.
template <typename T> T Unusable(const NumberSetting& setting, T fallback) {
    StoreLogMessage(msgLogSettingUnusable, ModuleInstance(), 0, setting.variable,
                    setting.text.c_str(), int(fallback));
    return fallback;
}

DWORD FrequencyFromSettings() {
    const NumberSetting minutes = ReadNumber("DesktopSearchFreqMinutes");
    if (!minutes.present)
        return defaultFrequencyMinutes;
    if (!minutes.number || *minutes.number < 0)
        return Unusable(minutes, defaultFrequencyMinutes);
    if (*minutes.number == 0)
        return defaultFrequencyMinutes;
    return DWORD(std::min<long long>(*minutes.number, maximumFrequencyMinutes));
}

DWORD WaitTimeFromSettings() {
    const NumberSetting wait = ReadNumber("DesktopSearchWaitTime");
    if (!wait.present)
        return defaultWaitTime;
    if (!wait.number || *wait.number < 0 || *wait.number > maximumWaitTime)
        return Unusable(wait, defaultWaitTime);
    return DWORD(*wait.number);
}

LONG InstallTimeFromSettings() {
    const NumberSetting cookie = ReadNumber("DesktopSearchInstallTime2");
    if (!cookie.present)
        return 0;
    if (!cookie.number)
        return Unusable(cookie, LONG(0));
    return LONG(*cookie.number);
}

} // namespace

void LoadSettings() {
    settingsLoaded = true;
    for (Flag* flag : flagsInLoadOrder)
        flag->raw = StoreGetEnvInt(flag->variable) != 0 ? 1 : 0;

    frequencyMinutes = FrequencyFromSettings();
    waitTime = WaitTimeFromSettings();
    installTime = InstallTimeFromSettings();

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

STORESTATUS SetIndexingEnabled(BYTE on) {
    // Compared with the effective state, so that with "AdminODS" set switching on always writes.
    const BYTE value = on ? 1 : 0;
    const STORESTATUS status =
        IsIndexingEnabled() != value ? StoreSetEnvInt(indexEnabled.variable, value) : 0;
    indexEnabled.raw = value;
    return status;
}

STORESTATUS SetIndexEncrypted(BYTE on) {
    return SetRaw(indexEncrypted, on);
}
STORESTATUS SetInstallInstructionsShown(BYTE on) {
    return SetRaw(installInstructions, on);
}
STORESTATUS SetIndexDrafts(BYTE on) {
    return SetRaw(indexDrafts, on);
}
STORESTATUS SetIndexOnIdle(BYTE on) {
    return SetRaw(indexOnIdle, on);
}
STORESTATUS SetIndexDiscussion(BYTE on) {
    return SetRaw(indexDiscussion, on);
}
STORESTATUS SetIndexHistory(BYTE on) {
    return SetRaw(noIndexHistory, on ? 0 : 1);
}

DWORD GetFrequencyMinutes() {
    EnsureLoaded();
    return frequencyMinutes;
}

STORESTATUS SetFrequencyMinutes(DWORD minutes) {
    if (minutes == 0)
        minutes = defaultFrequencyMinutes;
    else if (minutes > maximumFrequencyMinutes)
        minutes = maximumFrequencyMinutes;
    EnsureLoaded();
    const STORESTATUS status =
        frequencyMinutes != minutes ? StoreSetEnvInt("DesktopSearchFreqMinutes", LONG(minutes)) : 0;
    frequencyMinutes = minutes;
    return status;
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
