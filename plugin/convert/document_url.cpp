#include "document_url.h"

#include "property_writers.h"

#include <string>

namespace tamsel {

WORD BuildDocumentUrl(DBHANDLE database, const STOREORIGINATORID& originator, char* buffer) {
    buffer[0] = '\0';
    STOREREPLICAINFO replica;
    if (!database || StoreGetReplicaInfo(database, &replica) != STORE_NOERROR)
        return 0;
    return StoreFormatText(buffer, documentUrlSize, "Tamsel:///%H//%H%H", &replica.replicaId,
                           &originator.file, &originator.note);
}

WORD BuildNoteUrl(NOTEHANDLE note, char* buffer) {
    DBHANDLE database = 0;
    STOREORIGINATORID originator{};
    StoreGetNoteInfo(note, STORE_NOTEINFO_DATABASE, &database);
    StoreGetNoteInfo(note, STORE_NOTEINFO_ORIGINATOR, &originator);
    return BuildDocumentUrl(database, originator, buffer);
}

HRESULT WriteDocumentUrl(NOTEHANDLE note, EngineEvent& event, PropertyId id) {
    char url[documentUrlSize];
    const WORD length = BuildNoteUrl(note, url);
    // Hexadecimal digits and punctuation only.
    return SetEventText(event, id, std::wstring(url, url + length));
}

} // namespace tamsel
