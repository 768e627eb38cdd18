#include "data_fields.h"

#include "body_text.h"
#include "item_text.h"
#include "settings/client_settings.h"

#include <cstring>

namespace tamsel {

std::wstring ReadDataFieldsText(NOTEHANDLE note) {
    char fields[256];
    if (!GetDataFields(fields))
        std::strcpy(fields, "Body,DetailedReport");
    for (char* name = fields; *name != '\0';) {
        char* end = std::strchr(name, ',');
        const bool last = end == nullptr;
        if (!last)
            *end = '\0';
        // Names are taken as written: blanks belong to the name.
        if (*name != '\0' && HasItem(note, name))
            return BodyToText(note, name, 0);
        if (last)
            break;
        name = end + 1;
    }
    return {};
}

} // namespace tamsel
