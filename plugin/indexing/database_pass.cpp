#include "database_pass.h"

namespace tamsel {

// Until databases can be walked, a pass has nothing to do.
void PassOverSlot(int, BYTE) {}

} // namespace tamsel
