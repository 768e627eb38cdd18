#include "switches.h"

#include "watched_key.h"

#include <mutex>

namespace engine_core {
namespace {

Switches ReadValues(const engine_support::RegistryKey& key) {
    Switches switches;
    if (!key)
        return switches;
    auto flag = [&](const wchar_t* name) { return key.GetDword(name).value_or(0) != 0; };
    auto code = [&](const wchar_t* name) {
        return static_cast<HRESULT>(key.GetDword(name).value_or(0));
    };
    switches.serviceStopped = flag(L"ServiceStopped");
    switches.paused = flag(L"IndexingPaused");
    switches.componentDisabled = flag(L"ComponentDisabled");
    switches.failProperty = key.GetString(L"FailProperty").value_or(L"");
    switches.failPropertyCode = code(L"FailPropertyCode");
    switches.failSendCode = code(L"FailSendCode");
    switches.failSendFrom = key.GetDword(L"FailSendFrom").value_or(1);
    switches.failSendCount = key.GetDword(L"FailSendCount").value_or(0);
    switches.maxPropertyBytes = key.GetDword(L"MaxPropertyBytes").value_or(0);
    switches.maxEventBytes = key.GetDword(L"MaxEventBytes").value_or(0);
    return switches;
}

} // namespace

Switches ReadSwitches() {
    static std::mutex mutex;
    static engine_support::WatchedKey key(HKEY_CURRENT_USER, kSwitchesKey);
    static Switches current;
    std::lock_guard guard(mutex);
    if (key.Changed())
        current = ReadValues(key.key());
    return current;
}

DWORD CountSend(const Switches& switches) {
    static std::mutex mutex;
    static Switches seen;
    static DWORD sends = 0;
    std::lock_guard guard(mutex);
    if (!(switches == seen)) {
        seen = switches;
        sends = 0;
    }
    return ++sends;
}

} // namespace engine_core
