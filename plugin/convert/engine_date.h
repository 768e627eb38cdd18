// Engine dates: OLE Automation dates (days since 1899-12-30, the time of day as a fraction),
// always UTC when made from client data.
#pragma once
#include "ntamsel.h"

#include <oleauto.h>

#include <optional>
#include <string>

namespace tamsel {

struct DateFields {
    int year, month, day, hour, minute, second;
};

std::optional<DATE> DateFromParts(WORD year, WORD month, WORD day, WORD hour, WORD minute,
                                  WORD second);
// None for a value without a date part; a pure date counts from midnight UTC.
std::optional<DATE> ToEngineDate(const STORETIME& time);
// The note's last change: its originator's sequence time, else its modification time.
std::optional<DATE> NoteModifiedDate(NOTEHANDLE note);

// Calendar fields rounded to the nearest second; none outside the years 100 to 9999.
std::optional<DateFields> BreakEngineDate(DATE date);
// strftime of the rounded fields, at most 255 characters; "Invalid DateTime" out of range.
std::string FormatEngineDate(DATE date, const char* format);

} // namespace tamsel
