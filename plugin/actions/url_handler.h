// The actions hand their commands to the system's URL handler, which also starts programs
// and opens files: only the two kinds of URL the actions make get that far.
#pragma once
#include <windows.h>

#include <string_view>

namespace tamsel {

// The system call that starts the handler, so that tests can see what would be started.
struct UrlHandler {
    HINSTANCE(WINAPI* shellExecute)
    (HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show);
};
extern UrlHandler urlHandler;

// A document URL of the plug-in's own scheme or a "mailto:" URL, in printable ASCII without
// anything that could end the handler's argument (blanks, quotes, shell characters).
bool IsActionCommand(std::wstring_view command);

// Starts the handler for an action command; E_INVALIDARG, with nothing started, for any
// other text.
HRESULT StartActionCommand(std::wstring_view command);

} // namespace tamsel
