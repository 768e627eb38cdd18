// The Windows Installer session a step runs in: its properties, its log, and the one boundary
// every exported step goes through.
#pragma once
#include "unique_resource.h"

#include <windows.h>
#include <msiquery.h>

#include <functional>
#include <string>

namespace setup {

struct MsiHandleTraits {
    using Handle = MSIHANDLE;
    static MSIHANDLE Invalid() { return 0; }
    static void Close(MSIHANDLE handle) { MsiCloseHandle(handle); }
};
using UniqueMsiHandle = UniqueResource<MsiHandleTraits>;

std::wstring Property(MSIHANDLE install, const wchar_t* name);
void SetProperty(MSIHANDLE install, const wchar_t* name, const std::wstring& value);

// A line of the installer's log ("msiexec /l*v").
void Log(MSIHANDLE install, const std::wstring& text);

// Runs one step: a SetupError is shown to the person installing (in the log when silent) and
// fails the step, as does anything else that escapes it.
UINT Guarded(MSIHANDLE install, const std::function<void()>& step);

} // namespace setup
