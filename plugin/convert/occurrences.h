// The occurrences of a calendar entry or task, and the schedule lines written from them.
#pragma once
#include "engine/engine_event.h"
#include "ntamsel.h"

namespace tamsel {

struct Occurrence {
    DATE start, end; // engine dates, UTC
};

constexpr WORD occurrenceCapacity = 100;

struct OccurrenceTable {
    Occurrence entries[occurrenceCapacity];
};

// One table per converter, filled and read within one conversion on the indexing thread.
extern OccurrenceTable calendarOccurrences;
extern OccurrenceTable taskOccurrences;

// The starts from "CalendarDateTime" (at most `capacity`, unreadable pieces skipped), each
// lasting as long as the first occurrence given by the start and end items. 0 when the
// schedule is unusable: no start, a missing reference, or an end before the start.
WORD CollectOccurrences(NOTEHANDLE note, OccurrenceTable& table, WORD capacity,
                        const char* startItem, const char* endItem);

// The next occurrence to come (else the first) as start and end (or due) date, its length in
// minutes (not for due dates), and every occurrence as text when there are several.
HRESULT WriteSchedule(const OccurrenceTable& table, WORD count, bool dueDateMode,
                      EngineEvent& event);

} // namespace tamsel
