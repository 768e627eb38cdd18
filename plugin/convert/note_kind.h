// Which converter takes a note, and whether a finished pass leaves a document of it in the
// index: the settings, the kinds in use and what the note holds decide both. The converters
// and zsearch verify share these rules.
#pragma once
#include "form_rules.h"
#include "ntamsel.h"

#include <oaidl.h>

#include <optional>

namespace tamsel {

enum class NoteKind { none, calendar, task, mail, contact, journal, other };

// The first test that matches decides; a disabled kind is not tried against the others.
NoteKind ConverterKind(NOTEHANDLE note);
// Drafts and chat transcripts are indexed only as the settings ask.
bool IsSortIndexed(MailSort sort);

// What each converter needs of a note to send it; without it, the note takes the deletion road.
// A mail's time: its posted date, else (drafts, transcripts, unreadable dates) its last change.
std::optional<DATE> MailTime(NOTEHANDLE note, MailSort sort);
// A calendar entry's occurrences, gathered into the calendar table: 0 when its dates are
// missing or unusable.
WORD CalendarEntryOccurrences(NOTEHANDLE note);
// A task's list of dates.
bool TaskIsDated(NOTEHANDLE note);

// The note's converter sends it, rather than dropping it by its settings or handing it to the
// deletion road.
bool IsIndexedNote(NOTEHANDLE note);

} // namespace tamsel
