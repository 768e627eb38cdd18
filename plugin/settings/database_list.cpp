#include "database_list.h"

namespace tamsel {

void LoadDatabaseList() {}

} // namespace tamsel
