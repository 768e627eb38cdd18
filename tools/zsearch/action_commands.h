// The second engine's result page from the command line: the actions a document's component
// registered, asked of its actions object as the engine asks, and carried out.
#pragma once
#include <string>

namespace zsearch {

// Lists each registered action with what the actions object answers for the document.
int Actions(const std::wstring& url);
// Carries out one action (its id, or its number in the list) on the document.
int Act(const std::wstring& url, const std::wstring& action);

} // namespace zsearch
