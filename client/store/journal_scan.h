// Reading the journal's lines at open time without parsing whole records: our writer puts the
// keys a change list needs first, so a record's summary is read from its first few bytes and
// its items are left on disk until the note is opened.
#pragma once
#include "store_time.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace store {

struct RecordSummary {
    uint32_t noteId = 0;
    uint16_t noteClass = 0;
    TimeValue modified;
    bool deleted = false;
};

// Empty when the line does not start the way our writer starts a note record; the caller
// then parses it whole.
std::optional<RecordSummary> ScanNotePrefix(std::string_view line);
// The note ID a record starts with, even when what follows is broken.
std::optional<uint32_t> LeadingNoteId(std::string_view line);

} // namespace store
