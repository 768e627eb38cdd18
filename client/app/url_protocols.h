// The client as the handler of its document URLs ("Tamsel:") and of "mailto:" URLs, registered
// the way a Windows program registers a URL protocol.
#pragma once
#include <string>

namespace nltamsel {

// program: the client's full path. False when the classes root cannot be written.
bool RegisterUrlProtocols(const std::wstring& program);

} // namespace nltamsel
