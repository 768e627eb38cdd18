#include "switch_commands.h"

#include "core/orvenna_index.h"
#include "core/switches.h"
#include "output.h"
#include "support/registry_key.h"
#include "support/utf.h"

#include <cerrno>
#include <cwchar>
#include <cwctype>
#include <optional>

namespace zsearch {
namespace {

using engine_support::RegistryKey;

// Decimal, or hexadecimal with 0x (result codes are usually given so), that fits 32 bits: a
// sign or a larger number is refused rather than wrapped into another value.
std::optional<DWORD> ParseNumber(const std::wstring& text) {
    if (text.empty() || !std::iswdigit(text[0]))
        return std::nullopt;
    wchar_t* end = nullptr;
    errno = 0;
    const unsigned long long value = std::wcstoull(text.c_str(), &end, 0);
    if (*end != L'\0' || errno == ERANGE || value > 0xFFFFFFFFull)
        return std::nullopt;
    return static_cast<DWORD>(value);
}

int SetValues(std::initializer_list<std::pair<const wchar_t*, DWORD>> values) {
    const RegistryKey key = RegistryKey::Create(HKEY_CURRENT_USER, engine_core::kSwitchesKey);
    for (const auto& [name, value] : values)
        if (!key || !key.SetDword(name, value)) {
            PrintError("cannot write the engine's switches\n");
            return 1;
        }
    return 0;
}

int Usage(const char* text) {
    PrintError(std::string("usage: zsearch ") + text + "\n");
    return 2;
}

} // namespace

int Service(const std::wstring& action) {
    if (action == L"start")
        return SetValues({{L"ServiceStopped", 0}});
    if (action == L"stop")
        return SetValues({{L"ServiceStopped", 1}});
    if (action == L"pause")
        return SetValues({{L"IndexingPaused", 1}});
    if (action == L"resume")
        return SetValues({{L"IndexingPaused", 0}});
    return Usage("service start|stop|pause|resume");
}

int Fail(const std::vector<std::wstring>& args) {
    const std::wstring what = args.empty() ? L"" : args[0];
    auto number = [&](size_t at, DWORD fallback) -> std::optional<DWORD> {
        return at < args.size() ? ParseNumber(args[at]) : std::optional<DWORD>(fallback);
    };
    if (what == L"component" && args.size() == 2 && (args[1] == L"on" || args[1] == L"off"))
        return SetValues({{L"ComponentDisabled", args[1] == L"on"}});
    if (what == L"property" && args.size() == 3 && number(2, 0)) {
        const RegistryKey key = RegistryKey::Create(HKEY_CURRENT_USER, engine_core::kSwitchesKey);
        if (!key || !key.SetString(L"FailProperty", args[1])) {
            PrintError("cannot write the engine's switches\n");
            return 1;
        }
        return SetValues({{L"FailPropertyCode", *number(2, 0)}});
    }
    if (what == L"send" && args.size() >= 2 && args.size() <= 4 && number(1, 0) && number(2, 1) &&
        number(3, 0))
        return SetValues({{L"FailSendCode", *number(1, 0)},
                          {L"FailSendFrom", *number(2, 1)},
                          {L"FailSendCount", *number(3, 0)}});
    if (what == L"limit" && args.size() == 3 && number(2, 0) &&
        (args[1] == L"property" || args[1] == L"event"))
        return SetValues(
            {{args[1] == L"property" ? L"MaxPropertyBytes" : L"MaxEventBytes", *number(2, 0)}});
    return Usage(
        "fail component on|off | fail property NAME CODE | fail send CODE [FROM [COUNT]]"
        " | fail limit property|event BYTES\n(numbers from 0 to 4294967295, decimal or 0x...)");
}

int Clear() {
    if (!RegistryKey::DeleteTree(HKEY_CURRENT_USER, engine_core::kSwitchesKey)) {
        PrintError("cannot remove the engine's switches\n");
        return 1;
    }
    return 0;
}

int Reset() {
    if (FAILED(engine_core::ResetIndex())) {
        PrintError("cannot reset the index\n");
        return 1;
    }
    return 0;
}

} // namespace zsearch
