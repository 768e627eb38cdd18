// Every call that blocks on the user goes through this table, so tests can answer it.
#pragma once
#include <windows.h>

#include <commdlg.h>

namespace tamsel {

struct UserInterface {
    int(WINAPI* messageBox)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
    BOOL(WINAPI* getOpenFileName)(LPOPENFILENAMEA dialog);
    INT_PTR(WINAPI* dialogBoxParam)
    (HINSTANCE module, LPCSTR resource, HWND owner, DLGPROC procedure, LPARAM parameter);
};

// The table in use; the real system functions unless a test has replaced them.
extern UserInterface userInterface;

} // namespace tamsel
