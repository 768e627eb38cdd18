// Tells the engines that a note of a database was deleted.
#pragma once
#include "indexing/pass_context.h"

namespace tamsel {

// True when the engine dropped the document; false leaves context->engineResult set.
bool SendDeletionNotice(DBHANDLE database, NOTEID id, PassContext* context);

} // namespace tamsel
