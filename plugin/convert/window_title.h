// The title the client shows for a document: its form's window-title formula (or its own)
// evaluated on it.
#pragma once
#include "store_owners.h"

namespace tamsel {

// The form note named by the document's "Form", opened; empty when there is none.
UniqueNote FindFormNote(NOTEHANDLE note);
// The note's "$WindowTitle" formula, started; empty when it has none or it does not compile.
UniqueFormula GetWindowTitleFormula(NOTEHANDLE note);

// The title in the client's character set, terminated; 0 when there is none. Numbers and
// times as the client writes them, text lists joined with ", ".
WORD ComputeWindowTitle(NOTEHANDLE note, char* buffer, WORD capacity);

} // namespace tamsel
