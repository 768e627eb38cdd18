#include "ntamsel.h"
#include "text_convert.h"

using namespace ntamsel;

namespace {

// Longest prefix of wide text whose platform-code-page form fits size - 1 bytes.
WORD CopyAnsiBounded(std::wstring_view wide, char* destination, WORD size) {
    std::string narrow = WideToAnsi(wide);
    while (narrow.size() >= size && !wide.empty()) {
        wide.remove_suffix(wide.size() >= 2 && IS_LOW_SURROGATE(wide.back()) ? 2 : 1);
        narrow = WideToAnsi(wide);
    }
    narrow.copy(destination, narrow.size());
    destination[narrow.size()] = '\0';
    return static_cast<WORD>(narrow.size());
}

WORD CopyUnicodeBounded(std::wstring_view wide, char* destination, WORD size) {
    const size_t capacity = size / sizeof(wchar_t);
    if (capacity == 0)
        return 0;
    size_t units = wide.size() < capacity ? wide.size() : capacity - 1;
    if (units > 0 && units < wide.size() && IS_HIGH_SURROGATE(wide[units - 1]))
        --units;
    auto* out = reinterpret_cast<wchar_t*>(destination);
    wide.copy(out, units);
    out[units] = L'\0';
    return static_cast<WORD>(units * sizeof(wchar_t));
}

} // namespace

extern "C" WORD WINAPI StoreTranslateText(WORD direction, const char* text, WORD length,
                                          char* destination, WORD destinationSize) {
    if (!destination || destinationSize == 0)
        return 0;
    const std::string_view input(text ? text : "", text ? length : 0);
    switch (direction) {
    case STORE_TRANSLATE_TO_CLIENT:
        return static_cast<WORD>(
            CopyBounded(WideToUtf8(AnsiToWide(input)), destination, destinationSize));
    case STORE_TRANSLATE_TO_PLATFORM:
        return CopyAnsiBounded(Utf8ToWide(input), destination, destinationSize);
    case STORE_TRANSLATE_TO_UNICODE:
        return CopyUnicodeBounded(Utf8ToWide(input), destination, destinationSize);
    default:
        destination[0] = '\0';
        return 0;
    }
}
