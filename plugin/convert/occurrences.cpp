#include "occurrences.h"

#include "conversion_buffers.h"
#include "engine_date.h"
#include "idl/engine_results.h"
#include "property_id.h"
#include "property_log.h"
#include "property_writers.h"

#include <cmath>
#include <optional>
#include <string>
#include <string_view>

namespace tamsel {

OccurrenceTable calendarOccurrences;
OccurrenceTable taskOccurrences;

namespace {

constexpr char pieceSeparator = '|';
constexpr const char* patternFormat = "%m-%d-%Y %H:%M:%S";

std::optional<DATE> PieceToDate(std::string_view piece) {
    STORETIME time;
    if (StoreTextToTime(nullptr, nullptr, piece.data(), WORD(piece.size()), &time) != STORE_NOERROR)
        return std::nullopt;
    return ToEngineDate(time);
}

// The item's values as text separated by "|". A text too long for the buffer is cut: its
// last piece may end in the middle and read as another time, so only whole pieces count.
std::string_view ItemPieces(NOTEHANDLE note, const char* itemName) {
    const WORD length = StoreItemToText(note, itemName, itemText, textBufferSize, pieceSeparator);
    const std::string_view pieces(itemText, length);
    if (length < textBufferSize - 1)
        return pieces;
    const size_t lastWhole = pieces.rfind(pieceSeparator);
    return lastWhole == std::string_view::npos ? std::string_view() : pieces.substr(0, lastWhole);
}

std::optional<DATE> FirstPieceDate(NOTEHANDLE note, const char* itemName) {
    const std::string_view pieces = ItemPieces(note, itemName);
    if (pieces.empty())
        return std::nullopt;
    return PieceToDate(pieces.substr(0, pieces.find(pieceSeparator)));
}

std::optional<DATE> Now() {
    STORETIME now;
    StoreCurrentTime(&now);
    return ToEngineDate(now);
}

// Whole minutes of a length in days. Taken from hundredths of a second, the client's finest
// unit, so that 90 minutes of doubles a few ulps apart do not come out as 89.
DWORD WholeMinutes(DATE days) {
    return DWORD(std::llround(days * 8640000.0) / 6000);
}

} // namespace

WORD CollectOccurrences(NOTEHANDLE note, OccurrenceTable& table, WORD capacity,
                        const char* startItem, const char* endItem) {
    if (capacity > occurrenceCapacity)
        capacity = occurrenceCapacity;
    WORD count = 0;
    std::string_view pieces = ItemPieces(note, "CalendarDateTime");
    while (!pieces.empty() && count < capacity) {
        const size_t end = pieces.find(pieceSeparator);
        if (const auto start = PieceToDate(pieces.substr(0, end)))
            table.entries[count++].start = *start;
        pieces = end == std::string_view::npos ? std::string_view() : pieces.substr(end + 1);
    }
    if (count == 0)
        return 0;
    const auto referenceStart = FirstPieceDate(note, startItem);
    if (!referenceStart)
        return 0;
    const auto referenceEnd = FirstPieceDate(note, endItem);
    if (!referenceEnd || *referenceEnd < *referenceStart)
        return 0;
    const DATE length = *referenceEnd - *referenceStart;
    for (WORD i = 0; i < count; ++i)
        table.entries[i].end = table.entries[i].start + length;
    return count;
}

HRESULT WriteSchedule(const OccurrenceTable& table, WORD count, bool dueDateMode,
                      EngineEvent& event) {
    if (count == 0)
        return S_OK;
    const auto now = Now();
    const Occurrence* chosen = nullptr;
    std::string pattern;
    for (WORD i = 0; i < count; ++i) {
        const Occurrence& entry = table.entries[i];
        if (!chosen && now && entry.start > *now)
            chosen = &entry;
        if (count > 1) {
            pattern += FormatEngineDate(entry.start, patternFormat) + " / " +
                       FormatEngineDate(entry.end, patternFormat);
            if (i + 1 < count)
                pattern += "; ";
        }
    }
    if (!chosen)
        chosen = &table.entries[0];

    HRESULT hr = SetEventDate(event, propStartDate, chosen->start);
    if (FAILED(hr)) {
        DebugLogPropertyFailure("start_date", hr);
        return hr;
    }
    hr = SetEventDate(event, dueDateMode ? propDueDate : propEndDate, chosen->end);
    if (FAILED(hr)) {
        DebugLogPropertyFailure(dueDateMode ? "due_date" : "end_date", hr);
        return hr;
    }
    if (!dueDateMode && chosen->end > chosen->start) {
        const DWORD minutes = WholeMinutes(chosen->end - chosen->start);
        if (minutes != 0) {
            hr = SetEventNumber(event, propDuration, minutes);
            if (FAILED(hr)) {
                DebugLogPropertyFailure("duration", hr);
                // An engine without the property is no reason to drop the document.
                if (hr != engine_results::E_NO_SUCH_PROPERTY)
                    return hr;
                LogPropertyFailure("duration - no such property", hr);
                return S_OK;
            }
        }
    }
    if (pattern.empty())
        return hr;
    hr = SetEventText(event, propRecurrencePattern, std::wstring(pattern.begin(), pattern.end()));
    if (FAILED(hr))
        DebugLogPropertyFailure("recurrence_pattern", hr);
    return hr;
}

} // namespace tamsel
