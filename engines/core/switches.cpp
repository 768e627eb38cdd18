#include "switches.h"

#include "index/index_folder.h"
#include "support/key_watch.h"
#include "support/registry_key.h"

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
    // The switches live under the engine's key, whose watch the other settings share.
    static std::mutex mutex;
    static std::uint64_t seen = 0;
    static Switches current;
    static auto& watch = engine_support::KeyWatch::OfCurrentUser(engine_index::kEngineKey);
    std::lock_guard guard(mutex);
    if (const std::uint64_t generation = watch.Generation(); generation != seen) {
        current = ReadValues(
            engine_support::RegistryKey::Open(HKEY_CURRENT_USER, kSwitchesKey, KEY_QUERY_VALUE));
        seen = generation;
    }
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
