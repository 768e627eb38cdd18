#include "category_list.h"

#include "bounded_text.h"
#include "catalogue_text.h"
#include "conversion_buffers.h"

#include <string>

namespace tamsel {
namespace {

struct CategoryCode {
    const char* code;
    WORD message;
};

constexpr CategoryCode categoryCodes[] = {{"H", 165}, {"V", 166},  {"P", 167},
                                          {"C", 168}, {"PC", 169}, {"T", 170}};

std::string CategoryText(std::string_view entry) {
    for (const CategoryCode& category : categoryCodes)
        if (EqualsIgnoringAsciiCase(entry, category.code)) {
            std::string name = ClientCatalogueText(category.message);
            if (!name.empty())
                return name;
        }
    return std::string(entry);
}

} // namespace

WORD ReadCategoryList(NOTEHANDLE note, const char* itemName, char* buffer, WORD capacity) {
    if (capacity == 0)
        return 0;
    buffer[0] = '\0';
    const WORD count = StoreTextListCount(note, itemName);
    int length = 0;
    for (WORD index = 0; index < count; ++index) {
        const WORD entryLength =
            StoreTextListEntry(note, itemName, index, listEntry, textBufferSize);
        if (entryLength == 0)
            continue;
        if (!AppendBounded(buffer, capacity, length,
                           CategoryText(std::string_view(listEntry, entryLength))) ||
            index == count - 1 || length >= capacity - 3)
            break;
        AppendBounded(buffer, capacity, length, ", ");
    }
    return WORD(length);
}

} // namespace tamsel
