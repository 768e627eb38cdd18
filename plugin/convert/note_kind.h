// Which converter takes a note, and whether a finished pass leaves a document of it in the
// index: the settings and the kinds in use decide both.
#pragma once
#include "form_tests.h"
#include "ntamsel.h"

namespace tamsel {

enum class NoteKind { none, calendar, task, mail, contact, journal, other };

// The first test that matches decides; a disabled kind is not tried against the others.
NoteKind ConverterKind(NOTEHANDLE note);
// Drafts and chat transcripts are indexed only as the settings ask.
bool IsSortIndexed(MailSort sort);
// The note's converter sends it, rather than dropping it by its settings.
bool IsIndexedNote(NOTEHANDLE note);

} // namespace tamsel
