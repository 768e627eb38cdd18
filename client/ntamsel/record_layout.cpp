// The records that the client library, the client and add-ins pass to each other, as 32-bit
// Windows lays them out. The two sides are built apart (the real client's library not here at
// all), so a changed layout would build and break at run time: it fails the 32-bit build
// instead. Compiled only, never linked.
#include "addin_menu.h"
#include "ntamsel.h"

#include <cstddef>

static_assert(sizeof(void*) == 4, "the layouts below are those of 32-bit Windows");

#define LAYOUT(type, size, alignment)                                                              \
    static_assert(sizeof(type) == (size), #type ": size is not " #size);                           \
    static_assert(alignof(type) == (alignment), #type ": alignment is not " #alignment)
#define FIELD(type, field, offset, size)                                                           \
    static_assert(offsetof(type, field) == (offset), #type "." #field ": offset is not " #offset); \
    static_assert(sizeof(type::field) == (size), #type "." #field ": size is not " #size)

// Types of the operations' arguments, which decide the stdcall decorations in ntamsel.def.
LAYOUT(STORESTATUS, 2, 2);
LAYOUT(DBHANDLE, 4, 4);
LAYOUT(NOTEHANDLE, 4, 4);
LAYOUT(IDTABLEHANDLE, 4, 4);
LAYOUT(NOTEID, 4, 4);
LAYOUT(COMPOUNDHANDLE, 4, 4);
LAYOUT(FORMULAHANDLE, 4, 4);
LAYOUT(STOREBLOCK, 4, 4);
LAYOUT(BOOL, 4, 4);
LAYOUT(LONG, 4, 4);
LAYOUT(STOREIDCALLBACK, 4, 4);
LAYOUT(STOREITEMCALLBACK, 4, 4);
LAYOUT(STOREWRITEFAILEDPROC, 4, 4);
LAYOUT(ADDINMENUPROC, 4, 4);

LAYOUT(STORETIME, 8, 4);
FIELD(STORETIME, timeOfDay, 0, 4);
FIELD(STORETIME, dayNumber, 4, 4);

LAYOUT(STOREID8, 8, 4);
FIELD(STOREID8, low, 0, 4);
FIELD(STOREID8, high, 4, 4);

LAYOUT(STOREORIGINATORID, 28, 4);
FIELD(STOREORIGINATORID, file, 0, 8);
FIELD(STOREORIGINATORID, note, 8, 8);
FIELD(STOREORIGINATORID, sequence, 16, 4);
FIELD(STOREORIGINATORID, sequenceTime, 20, 8);

LAYOUT(STOREREPLICAINFO, 16, 4);
FIELD(STOREREPLICAINFO, replicaId, 0, 8);
FIELD(STOREREPLICAINFO, created, 8, 8);

LAYOUT(STORETIMEFORMAT, 4, 1);
FIELD(STORETIMEFORMAT, date, 0, 1);
FIELD(STORETIMEFORMAT, time, 1, 1);
FIELD(STORETIMEFORMAT, zone, 2, 1);
FIELD(STORETIMEFORMAT, structure, 3, 1);

LAYOUT(STORETIMEFIELDS, 32, 4);
FIELD(STORETIMEFIELDS, year, 0, 4);
FIELD(STORETIMEFIELDS, month, 4, 4);
FIELD(STORETIMEFIELDS, day, 8, 4);
FIELD(STORETIMEFIELDS, weekday, 12, 4);
FIELD(STORETIMEFIELDS, hour, 16, 4);
FIELD(STORETIMEFIELDS, minute, 20, 4);
FIELD(STORETIMEFIELDS, second, 24, 4);
FIELD(STORETIMEFIELDS, hundredth, 28, 4);

LAYOUT(STORECOMPOUNDSTYLE, 12, 2);
FIELD(STORECOMPOUNDSTYLE, justify, 0, 2);
FIELD(STORECOMPOUNDSTYLE, firstLineLeftMargin, 2, 2);
FIELD(STORECOMPOUNDSTYLE, leftMargin, 4, 2);
FIELD(STORECOMPOUNDSTYLE, rightMargin, 6, 2);
FIELD(STORECOMPOUNDSTYLE, spacing, 8, 2);
FIELD(STORECOMPOUNDSTYLE, flags, 10, 2);

LAYOUT(ADDINMENURECORD, 72, 4);
FIELD(ADDINMENURECORD, ownerWindow, 0, 4);
FIELD(ADDINMENURECORD, itemCount, 4, 2);
FIELD(ADDINMENURECORD, itemText, 6, 64);
FIELD(ADDINMENURECORD, itemIndex, 70, 2);
