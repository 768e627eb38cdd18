// The converters of each kind of document. Each takes an open note and the pass's context,
// always leaves engineResult and noteStatus (0; 549 handled as deleted; 551 no note) in it,
// and answers true when it finished its work for the note (normally: an event was sent).
#pragma once
#include "state/pass_context.h"

namespace tamsel {

bool ConvertMail(NOTEHANDLE note, PassContext* context);
bool ConvertCalendarEntry(NOTEHANDLE note, PassContext* context);
bool ConvertTask(NOTEHANDLE note, PassContext* context);
bool ConvertContact(NOTEHANDLE note, PassContext* context);
bool ConvertJournalEntry(NOTEHANDLE note, PassContext* context);
bool ConvertOtherDocument(NOTEHANDLE note, PassContext* context);

} // namespace tamsel
