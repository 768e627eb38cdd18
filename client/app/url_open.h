// What the client does with a URL the system's URL handler gives it: a document URL of its
// own scheme opens the note it names, a "mailto:" URL starts a reply. Without a window of
// its own for either, the client logs what it opened or started.
#pragma once
#include <string>

namespace nltamsel {

// The exit code: 0 when the note was found or the reply started.
int OpenUrl(const std::string& url);

} // namespace nltamsel
