#include "catalogue_text.h"

#include "catalogue/catalogue.h"
#include "ntamsel.h"

namespace tamsel {

std::string ClientCatalogueText(MessageId id) {
    const std::string message = MessageText(id);
    if (message.empty())
        return message;
    std::string text(message.size() * 3 + 1, '\0');
    text.resize(StoreTranslateText(STORE_TRANSLATE_TO_CLIENT, message.data(), WORD(message.size()),
                                   text.data(), WORD(text.size())));
    return text;
}

} // namespace tamsel
