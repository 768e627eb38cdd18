// A log line or a setting the client library could not write is said on standard error and
// shown in a box (answered by the box watcher in headless runs): what the client and its
// add-ins meant to remember is lost when it closes, and the user must know.
#pragma once
#include <windows.h>

namespace nltamsel {

// Called on the thread that runs the message loop, before anything is logged.
void WatchWriteFailures();
// Shows a failure the watch posted; false for any other message.
bool ShowWriteFailure(const MSG& message, HWND owner);

} // namespace nltamsel
