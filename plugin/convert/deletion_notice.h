// Tells the engines that a document left a database.
#pragma once
#include "state/pass_context.h"

namespace tamsel {

// Removes the items at the document's url through the engine's query object, else overwrites
// the document with an empty mail event. True when the engine dropped the document; false
// leaves context->engineResult set.
bool SendDeletionNotice(DBHANDLE database, NOTEID id, PassContext* context);

// A note a converter will not keep in the index: the deletion notice for its ID.
bool TreatAsDeleted(NOTEHANDLE note, PassContext* context);

} // namespace tamsel
