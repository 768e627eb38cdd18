#include "catalogue.h"

#include "base/hresult_error.h"
#include "string_table.h"

#include <cstring>
#include <new>

namespace tamsel {
namespace {

HMODULE moduleInstance = nullptr;
LANGID selectedLanguage = 0x0409;

// Windows 2000 and later convert with the thread's code page; older systems with the default
// code page of the thread's locale.
UINT ChooseCodePage() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const bool modern = GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT &&
                        version.dwMajorVersion >= 5;
#pragma GCC diagnostic pop
    if (modern)
        return CP_THREAD_ACP;
    char digits[8] = {};
    if (GetLocaleInfoA(GetThreadLocale(), LOCALE_IDEFAULTANSICODEPAGE, digits, sizeof digits)) {
        const UINT codePage = UINT(atoi(digits));
        if (codePage != 0)
            return codePage;
    }
    return CP_ACP;
}

UINT MessageCodePage() {
    static const UINT codePage = ChooseCodePage();
    return codePage;
}

} // namespace

LANGID CatalogueLanguageFor(LCID locale) {
    const LANGID primary = PRIMARYLANGID(LANGIDFROMLCID(locale));
    switch (primary) {
    case LANG_GERMAN:
    case LANG_SPANISH:
    case LANG_FINNISH:
    case LANG_FRENCH:
    case LANG_ITALIAN:
    case LANG_DUTCH:
    case LANG_NORWEGIAN:
    case LANG_PORTUGUESE:
    case LANG_SWEDISH:
        return MAKELANGID(primary, 1);
    default:
        return 0x0409;
    }
}

void InitCatalogue(HMODULE module) {
    moduleInstance = module;
    selectedLanguage = CatalogueLanguageFor(GetThreadLocale());
}

LANGID SelectedLanguage() {
    return selectedLanguage;
}
HMODULE ModuleInstance() {
    return moduleInstance;
}

bool LoadMessage(MessageId id, LANGID language, std::string& target) {
    const std::wstring_view entry = FindStringTableEntry(moduleInstance, id, language);
    if (entry.empty())
        return false;
    const UINT codePage = MessageCodePage();
    const int units = int(entry.size());
    const int needed =
        WideCharToMultiByte(codePage, 0, entry.data(), units, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        throw HResultError{E_INVALIDARG};
    try {
        target.resize(size_t(needed));
    } catch (const std::bad_alloc&) {
        throw HResultError{E_OUTOFMEMORY};
    }
    const int converted = WideCharToMultiByte(codePage, 0, entry.data(), units, target.data(),
                                              needed, nullptr, nullptr);
    if (converted <= 0 || converted > needed)
        throw HResultError{E_INVALIDARG};
    target.resize(size_t(converted));
    return true;
}

std::string MessageText(MessageId id) {
    std::string text;
    LoadMessage(id, selectedLanguage, text);
    return text;
}

size_t LoadMessageFixed(MessageId id, char* buffer) {
    const std::string text = MessageText(id);
    const size_t length = text.size() < fixedMessageSize - 1 ? text.size() : fixedMessageSize - 1;
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    return length;
}

std::wstring WideMessageText(MessageId id, LANGID language) {
    return std::wstring(FindStringTableEntry(moduleInstance, id, language));
}

} // namespace tamsel
