#include "item_property.h"

#include "category_list.h"
#include "conversion_buffers.h"
#include "item_text.h"
#include "text_list.h"
#include "text_property.h"

namespace tamsel {
namespace {

WORD ReadItem(NOTEHANDLE note, ItemReading reading, const char* itemName) {
    switch (reading) {
    case ItemReading::joinedList:
        return JoinTextList(note, itemName, itemText, textBufferSize);
    case ItemReading::categories:
        return ReadCategoryList(note, itemName, itemText, textBufferSize);
    case ItemReading::lines:
        return ReadItemText(note, itemName, itemText, textBufferSize, Separator::lines);
    default:
        return ReadItemText(note, itemName, itemText, textBufferSize, Separator::commas);
    }
}

const char* AddressItemName(NOTEHANDLE note, WORD mailItemCode) {
    switch (mailItemCode) {
    case STORE_MAIL_SENDTO:
        return "SendTo";
    case STORE_MAIL_COPYTO:
        return "CopyTo";
    case STORE_MAIL_BLINDCOPYTO:
        return "BlindCopyTo";
    case STORE_MAIL_REPLYTO:
        return "ReplyTo";
    case STORE_MAIL_FROM:
        return HasItem(note, "Principal") ? "Principal" : "From";
    default:
        return nullptr;
    }
}

} // namespace

HRESULT WriteItemProperty(NOTEHANDLE note, ItemReading reading, const char* itemName, PropertyId id,
                          EngineEvent& event, bool writeEmpty) {
    itemText[0] = '\0';
    const WORD length = HasItem(note, itemName) ? ReadItem(note, reading, itemName) : 0;
    return WriteTextProperty(itemText, length, id, event, writeEmpty);
}

HRESULT WriteAddressProperty(NOTEHANDLE note, WORD mailItemCode, EngineEvent& event,
                             PropertyId id) {
    if (const char* itemName = AddressItemName(note, mailItemCode))
        return WriteItemProperty(note, ItemReading::joinedList, itemName, id, event, false);
    mailItemText[0] = '\0';
    WORD length = 0;
    StoreGetMailItemText(note, mailItemCode, mailItemText, textBufferSize, &length);
    return WriteTextProperty(mailItemText, length, id, event, false);
}

} // namespace tamsel
