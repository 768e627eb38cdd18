// Tells the engines that a document left a database.
#pragma once
#include "state/pass_context.h"

#include <string>

namespace tamsel {

// Takes the documents at the url out of the index through the second engine's query object;
// true when at least one left. The last removal's answer goes to lastRemoval when given.
bool RemoveDocument(const std::wstring& url, HRESULT* lastRemoval = nullptr);

// Takes every document of the database with this replica id (as DatabaseReplicaText writes it)
// out of the index. False only when the engine could not be asked, so that it is tried again.
bool RemoveDatabaseDocuments(const std::string& replica);

// Removes the items at the document's url through the engine's query object, else overwrites
// the document with an empty mail event. True when the engine dropped the document; false
// leaves context->engineResult set.
bool SendDeletionNotice(DBHANDLE database, NOTEID id, PassContext* context);

// A note a converter will not keep in the index: the deletion notice for its ID.
bool TreatAsDeleted(NOTEHANDLE note, PassContext* context);

} // namespace tamsel
