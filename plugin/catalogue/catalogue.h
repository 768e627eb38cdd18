// The message catalogue: numbered texts 100 to 228 in ten languages, held in the module's
// string tables. The language is chosen once, at process attach.
#pragma once
#include "message_ids.h"

#include <windows.h>

#include <string>

namespace tamsel {

constexpr size_t fixedMessageSize = 256;

// The catalogue language for a locale: one of the ten, else English (1033).
LANGID CatalogueLanguageFor(LCID locale);

// At process attach: keeps the module and selects the language of the calling thread.
void InitCatalogue(HMODULE module);
LANGID SelectedLanguage();
HMODULE ModuleInstance();

// The loaders of the whole plug-in: the folders above add only what they do with the text.

// Loads a message converted to the narrow code page. On failure (no such message in that
// language) the target is left unchanged. Raises HResultError on E_OUTOFMEMORY / E_INVALIDARG.
bool LoadMessage(MessageId id, LANGID language, std::string& target);

// A message of the selected language in the narrow code page, empty when it is missing.
std::string MessageText(MessageId id);

// Loads a message of the selected language into a buffer of fixedMessageSize bytes, cut at 255
// characters and terminated (empty when missing). Returns the length copied.
size_t LoadMessageFixed(MessageId id, char* buffer);

// A message as the catalogue holds it, for COM callers that take wide text; empty when the
// language lacks it.
std::wstring WideMessageText(MessageId id, LANGID language);

} // namespace tamsel
