// The server's type library, embedded in the module as TYPELIB 1, or beside it as a ".tlb"
// file of the same name when the module holds none.
#pragma once
#include <windows.h>

#include <oaidl.h>

#include <string>

namespace tamsel {

// Loads the library for the module at modulePath; loadedFrom is the file it came from.
// E_FAIL when the module's or the ".tlb" path is longer than MAX_PATH.
HRESULT LoadServerTypeLibrary(const std::wstring& modulePath, ITypeLib** library,
                              std::wstring& loadedFrom);
HRESULT RegisterServerTypeLibrary(const std::wstring& modulePath);
HRESULT UnregisterServerTypeLibrary(const std::wstring& modulePath);

} // namespace tamsel
