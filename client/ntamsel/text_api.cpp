// Text helpers of the client library: numbers, the formatter, character stepping and names.
#include "item_values.h"
#include "ntamsel.h"
#include "text_convert.h"
#include "text_utf8.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

using namespace ntamsel;

STORESTATUS WINAPI StoreNumberToText(const double* number, char* buffer, WORD size, WORD* length) {
    if (length)
        *length = 0;
    if (!number || !buffer || size == 0)
        return STORE_ERR_BAD_ARGUMENT;
    const std::string text = store::NumberToText(*number);
    if (text.empty())
        return STORE_ERR_BAD_ARGUMENT;
    const WORD written = static_cast<WORD>(CopyBounded(text, buffer, size));
    if (length)
        *length = written;
    return STORE_NOERROR;
}

WORD __cdecl StoreFormatText(char* buffer, WORD size, const char* format, ...) {
    if (!buffer || size == 0 || !format)
        return 0;
    va_list arguments;
    va_start(arguments, format);
    std::string out;
    char piece[32];
    for (const char* at = format; *at; ++at) {
        if (*at != '%' || !at[1]) {
            out += *at;
            continue;
        }
        switch (*++at) {
        case 's': {
            const char* text = va_arg(arguments, const char*);
            out += text ? text : "";
            continue;
        }
        case 'd':
            std::snprintf(piece, sizeof piece, "%d", va_arg(arguments, int));
            break;
        case 'u':
            std::snprintf(piece, sizeof piece, "%u", va_arg(arguments, unsigned));
            break;
        case 'X':
            std::snprintf(piece, sizeof piece, "%X", va_arg(arguments, unsigned));
            break;
        case 'H': {
            const STOREID8* id = va_arg(arguments, const STOREID8*);
            std::snprintf(piece, sizeof piece, "%08lX%08lX", id ? id->high : 0UL,
                          id ? id->low : 0UL);
            break;
        }
        default:
            std::snprintf(piece, sizeof piece, "%c", *at);
        }
        out += piece;
    }
    va_end(arguments);
    return static_cast<WORD>(CopyBounded(out, buffer, size));
}

const char* WINAPI StoreNextCharacter(const char* text) {
    if (!text || !*text)
        return text;
    const size_t length = store::Utf8SequenceLength(std::string_view(text, strnlen(text, 4)));
    return text + (length ? length : 1);
}

const char* WINAPI StorePreviousCharacter(const char* start, const char* position) {
    if (!start || !position || position <= start)
        return position;
    const std::string_view before(start, static_cast<size_t>(position - start));
    return start + store::Utf8PreviousStart(before, before.size());
}

WORD WINAPI StoreTextToLocal(const char* entry, char* buffer, WORD size) {
    if (!entry || !buffer || size == 0)
        return 0;
    // "CN=Anna Berg/OU=Sales/O=Acme" shows as "Anna Berg/Sales/Acme".
    std::string shown;
    std::string_view rest(entry);
    const bool hierarchical = rest.substr(0, 3) == "CN=";
    while (hierarchical && !rest.empty()) {
        const size_t slash = rest.find('/');
        std::string_view part = rest.substr(0, slash);
        if (const size_t equals = part.find('='); equals != std::string_view::npos && equals < 4)
            part.remove_prefix(equals + 1);
        if (!shown.empty())
            shown += '/';
        shown += part;
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    }
    return static_cast<WORD>(CopyBounded(hierarchical ? shown : std::string(entry), buffer, size));
}
