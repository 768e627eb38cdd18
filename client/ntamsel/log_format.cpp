#include "log_format.h"

#include "ntamsel.h"
#include "store_time.h"

#include <cstdio>

namespace ntamsel {

std::string DescribeTime(const STORETIME* time) {
    if (!time)
        return "(no time)";
    const store::TimeValue value{time->timeOfDay, time->dayNumber};
    if (store::IsValidTime(value) && value != store::kEarliestTime)
        return store::TimeToText(value);
    // The earliest time and values that are no time at all show their raw halves.
    char text[48];
    std::snprintf(text, sizeof text, "[%08lX:%08lX]", static_cast<unsigned long>(time->dayNumber),
                  static_cast<unsigned long>(time->timeOfDay));
    return text;
}

std::optional<std::string> FormatLogText(std::string_view format, va_list arguments) {
    // Check every directive first, so that an unknown one reads no argument at all.
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%')
            continue;
        if (++i == format.size() ||
            std::string_view("sdXy%").find(format[i]) == std::string_view::npos)
            return std::nullopt;
    }
    std::string out;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            out += format[i];
            continue;
        }
        char number[16];
        switch (format[++i]) {
        case 's': {
            const char* text = va_arg(arguments, const char*);
            out += text ? text : "(null)";
            break;
        }
        case 'd':
            std::snprintf(number, sizeof number, "%d", va_arg(arguments, int));
            out += number;
            break;
        case 'X':
            std::snprintf(number, sizeof number, "%X", va_arg(arguments, unsigned));
            out += number;
            break;
        case 'y':
            out += DescribeTime(va_arg(arguments, const STORETIME*));
            break;
        default:
            out += '%';
        }
    }
    return out;
}

const char* StatusText(unsigned short status) {
    switch (status) {
    case STORE_ERR_NOT_DATABASE:
        return "File is not a database";
    case STORE_ERR_NO_FILE:
        return "File does not exist";
    case STORE_ERR_SETTINGS_IO:
        return "Cannot write the settings file";
    case STORE_ERR_BAD_ARGUMENT:
        return "Invalid argument";
    case STORE_ERR_NO_MEMORY:
        return "Insufficient memory";
    case STORE_ERR_NOT_INITIALISED:
        return "The client library has no data directory";
    case STORE_ERR_NOT_DATABASE_FILE:
        return "File is not a database file";
    case STORE_ERR_UNUSABLE:
        return "Database is not usable";
    case STORE_ERR_STUB:
        return "Document has been deleted";
    case STORE_ERR_DAMAGED:
        return "Document is damaged and cannot be read";
    case STORE_ERR_NO_NOTE:
        return "Document does not exist";
    case STORE_ERR_NOT_MODIFIED:
        return "No documents modified since the given time";
    case STORE_ERR_REMOTE_REFUSED:
        return "Access to databases on a server is not allowed";
    default:
        return "Client error";
    }
}

} // namespace ntamsel
