#include "deletion_notice.h"

namespace tamsel {

// Until deletion notices exist, deletion stubs are left alone.
bool SendDeletionNotice(DBHANDLE, NOTEID, PassContext*) { return false; }

} // namespace tamsel
