#include "database_list.h"

namespace tamsel {

// Until the database list exists, it has no slot in use and nothing to record.
void LoadDatabaseList() {}

BYTE GetSlotPath(int, char* buffer, WORD size) {
    if (buffer && size > 0)
        buffer[0] = '\0';
    return 0;
}

void SaveSlotState(int, const STORETIME*, const STORETIME*, DWORD, LONG, LONG) {}

} // namespace tamsel
