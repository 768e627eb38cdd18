#include "document_url.h"

#include "property_writers.h"

#include <algorithm>
#include <cctype>

namespace tamsel {
namespace {

constexpr std::string_view urlScheme = "Tamsel:///";
constexpr std::string_view replicaEnd = "//";

} // namespace

WORD BuildDocumentUrl(DBHANDLE database, const STOREORIGINATORID& originator, char* buffer) {
    buffer[0] = '\0';
    STOREREPLICAINFO replica;
    if (!database || StoreGetReplicaInfo(database, &replica) != STORE_NOERROR)
        return 0;
    return StoreFormatText(buffer, documentUrlSize, "Tamsel:///%H//%H%H", &replica.replicaId,
                           &originator.file, &originator.note);
}

std::string DatabaseReplicaText(DBHANDLE database) {
    char url[documentUrlSize];
    if (BuildDocumentUrl(database, STOREORIGINATORID{}, url) == 0)
        return {};
    return ReplicaOfUrl(url);
}

std::string DocumentUrlStart(const std::string& replica) {
    return std::string(urlScheme).append(replica).append(replicaEnd);
}

std::string ReplicaOfUrl(std::string_view url) {
    if (url.size() <= urlScheme.size() || url.substr(0, urlScheme.size()) != urlScheme)
        return {};
    const size_t end = url.find(replicaEnd, urlScheme.size());
    if (end == std::string_view::npos)
        return {};
    std::string replica(url.substr(urlScheme.size(), end - urlScheme.size()));
    std::transform(replica.begin(), replica.end(), replica.begin(),
                   [](unsigned char c) { return char(std::toupper(c)); });
    return replica;
}

std::optional<std::wstring> NoteIdUrl(DBHANDLE database, NOTEID id) {
    STOREORIGINATORID originator{};
    const STORESTATUS status = StoreGetNoteInfoById(database, id, &originator, nullptr, nullptr);
    if (status != STORE_NOERROR && status != STORE_ERR_STUB)
        return std::nullopt;
    char url[documentUrlSize];
    const WORD length = BuildDocumentUrl(database, originator, url);
    return std::wstring(url, url + length);
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
