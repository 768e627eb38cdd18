// Classifies an open note and hands it to the converter of its kind.
#pragma once
#include "state/pass_context.h"

namespace tamsel {

// True when the note was handled (sent, or dropped by its converter's rules). False leaves
// context->noteStatus and context->engineResult saying why; both 0 = not a kind that is indexed.
bool ConvertNote(NOTEHANDLE note, PassContext* context);

} // namespace tamsel
