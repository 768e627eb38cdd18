#include "folder_name.h"

#include "conversion_buffers.h"
#include "text_property.h"

#include <cstring>

namespace tamsel {

HRESULT WriteFolderName(DBHANDLE database, EngineEvent& event, PropertyId id, bool writeEmpty) {
    itemText[0] = '\0';
    char info[STORE_DBINFO_SIZE];
    if (database && StoreGetDatabaseInfo(database, info) == STORE_NOERROR &&
        StoreParseDatabaseInfo(info, STORE_DBINFO_TITLE, itemText, textBufferSize) != STORE_NOERROR)
        itemText[0] = '\0';
    return WriteTextProperty(itemText, WORD(std::strlen(itemText)), id, event, writeEmpty);
}

} // namespace tamsel
