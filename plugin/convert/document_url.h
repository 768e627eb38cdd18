// The address under which a document is known to the engine: "Tamsel:///" with the database's
// replica id, then "//" and the two halves of the note's universal id.
#pragma once
#include "engine/engine_event.h"
#include "ntamsel.h"
#include "property_id.h"

#include <optional>
#include <string>
#include <string_view>

namespace tamsel {

constexpr WORD documentUrlSize = 256;

// Returns the length written into a buffer of documentUrlSize bytes, 0 on failure.
WORD BuildDocumentUrl(DBHANDLE database, const STOREORIGINATORID& originator, char* buffer);
// The database's replica id as its document URLs write it; empty when it cannot be read.
std::string DatabaseReplicaText(DBHANDLE database);
// What every document URL of the database with this replica id starts with.
std::string DocumentUrlStart(const std::string& replica);
// The replica id of a document URL, upper case; empty when it is not a document URL.
std::string ReplicaOfUrl(std::string_view url);
// The same for an open note, from its own database and originator.
WORD BuildNoteUrl(NOTEHANDLE note, char* buffer);
// The URL of a note or deletion stub by its id: nothing when the client knows no such note, an
// empty text when the URL cannot be built.
std::optional<std::wstring> NoteIdUrl(DBHANDLE database, NOTEID id);

// Writes the note's URL (an empty text when it cannot be built) under the id.
HRESULT WriteDocumentUrl(NOTEHANDLE note, EngineEvent& event, PropertyId id);

} // namespace tamsel
