#include "category_list.h"

#include "bounded_text.h"
#include "catalogue/message_ids.h"
#include "catalogue_text.h"
#include "text_list.h"

#include <string>

namespace tamsel {
namespace {

struct CategoryCode {
    const char* code;
    MessageId message;
};

constexpr CategoryCode categoryCodes[] = {{"H", msgCategoryHoliday},     {"V", msgCategoryVacation},
                                          {"P", msgCategoryProjects},    {"C", msgCategoryClients},
                                          {"PC", msgCategoryPhoneCalls}, {"T", msgCategoryTravel}};

std::string CategoryText(std::string_view entry) {
    for (const CategoryCode& category : categoryCodes)
        if (EqualsIgnoringAsciiCase(entry, category.code)) {
            std::string name = ClientCatalogueText(category.message);
            if (!name.empty())
                return name;
        }
    return std::string(entry);
}

void WriteCategory(std::string_view entry, char* buffer, WORD capacity, int& length) {
    AppendBounded(buffer, capacity, length, CategoryText(entry));
}

} // namespace

WORD ReadCategoryList(NOTEHANDLE note, const char* itemName, char* buffer, WORD capacity) {
    return JoinListEntries(note, itemName, buffer, capacity, WriteCategory);
}

} // namespace tamsel
