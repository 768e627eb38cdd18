// Add and Remove: the user changes the dialog's list of databases.
#pragma once
#include <windows.h>

namespace tamsel {

// Asks for a database with the system's open-file dialog and lists it when it opens as one.
void AddDatabase(HWND dialog);
void RemoveSelectedDatabase(HWND dialog);

} // namespace tamsel
