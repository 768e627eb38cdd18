// The dialog's list of databases. Entries are in the platform code page, slot paths in the
// client's character set. An entry that came from a configured slot remembers that slot, so
// that a path the platform code page cannot spell still finds its slot when stored.
#pragma once
#include "state/index_status.h"

#include <windows.h>

#include <string>

namespace tamsel {

// List entries known to be configured slots: counted when the dialog opens and on every apply.
extern DWORD configuredCount;

std::string PlatformPath(const std::string& clientPath);
std::string ClientPath(const std::string& platformPath);

// The entry with exactly this text, or adds it; LB_ERR or LB_ERRSPACE when the list refuses.
LRESULT FindOrAddEntry(HWND list, const std::string& platformPath, int slot = -1);
// The entry's path in the client's character set.
std::string EntryClientPath(HWND list, int entry);
// The user's slot configured with the entry's path, or -1.
int EntrySlot(HWND list, int entry);

// The configured slots' paths, each once; sets configuredCount.
void ListConfiguredDatabases(HWND list);
// With nothing configured: the mail file and the roster, when each opens as a database.
void ProposeDefaultDatabases(HWND list);

} // namespace tamsel
