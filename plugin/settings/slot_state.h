// How far one database is indexed, and its text form in "DesktopSearchTimestamp" + n:
// empty, T1, or T1|T2|note ID|processed|total.
#pragma once
#include "ntamsel.h"

#include <string>

namespace tamsel {

struct SlotState {
    STORETIME lastIndexedTime;
    bool lastIndexedValid;
    STORETIME untilTime;
    bool resumeValid;
    NOTEID resumeNoteId;
    LONG savedProcessed;
    LONG savedTotal;
};

// Never indexed: both times the earliest, no flags, no numbers.
SlotState EmptySlotState();
// What cannot be read stays as in EmptySlotState, so the database is indexed from its start.
SlotState ParseSlotState(const char* text);
// A time's text form, or nothing when it cannot be rendered.
bool TimeText(const STORETIME& time, std::string& text);
// Decimal with leading blanks and a sign, up to the first other character; no digits give 0.
// Clamped to the signed and unsigned 32-bit ranges together, so a note ID written either way
// reads back.
long long LeadingNumber(const char* text);

} // namespace tamsel
