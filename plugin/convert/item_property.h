// An item of the note written as a text property.
#pragma once
#include "engine/engine_event.h"
#include "ntamsel.h"
#include "property_id.h"

namespace tamsel {

enum class ItemReading {
    joinedList = 2, // display forms of a list's entries, joined with ", "
    commas = 3,     // the item's text, list entries separated by ", "
    categories = 4, // the category list with its codes spelled out
    lines = 5,      // the item's text, list entries on lines of their own
};

// An absent item is an empty text.
HRESULT WriteItemProperty(NOTEHANDLE note, ItemReading reading, const char* itemName, PropertyId id,
                          EngineEvent& event, bool writeEmpty);

// A standard mail item by its client code (STORE_MAIL_*): the address lists by name, the
// sender from "Principal" when there is one, anything else through the client's mail reader.
HRESULT WriteAddressProperty(NOTEHANDLE note, WORD mailItemCode, EngineEvent& event, PropertyId id);

} // namespace tamsel
