// The list of indexed databases and their index state, kept in the client's settings.
#pragma once

namespace tamsel {

// Loads the slots' paths and time stamps. Until the database list exists, it has none.
void LoadDatabaseList();

} // namespace tamsel
