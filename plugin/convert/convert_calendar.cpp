#include "converters.h"

#include "body_content.h"
#include "conversion_buffers.h"
#include "document_steps.h"
#include "document_url.h"
#include "engine_date.h"
#include "item_property.h"
#include "item_text.h"
#include "note_kind.h"
#include "occurrences.h"
#include "send_event.h"
#include "settings/index_type_mask.h"
#include "text_list.h"
#include "text_property.h"

namespace tamsel {
namespace {

// "r1, r2,o1": the required attendees, one comma without a blank, then the optional ones.
WORD JoinAttendees(NOTEHANDLE note) {
    WORD length = JoinTextList(note, "RequiredAttendees", itemText, textBufferSize);
    const bool comma = length > 0 && length + 2 <= textBufferSize;
    if (comma) {
        itemText[length++] = ',';
        itemText[length] = '\0';
    }
    const WORD optional =
        JoinTextList(note, "OptionalAttendees", itemText + length, WORD(textBufferSize - length));
    if (optional == 0 && comma)
        itemText[--length] = '\0';
    return WORD(length + optional);
}

HRESULT WriteAndSend(NOTEHANDLE note, PassContext& context, WORD occurrences, DATE modified) {
    EngineEvent event(indexTypeCalendar);
    HRESULT hr;
    if (FAILED(hr = WriteModifiedTime(event, modified)) ||
        FAILED(hr = WriteSchedule(calendarOccurrences, occurrences, false, event)) ||
        FAILED(hr = WriteBodyContent(note, nullptr, true, event)) ||
        FAILED(hr = WriteDocumentUrl(note, event, propOtherUrl)) ||
        FAILED(hr = WriteItemProperty(note, ItemReading::joinedList, "Chair", propOrganizer, event,
                                      false)))
        return hr;
    const WORD attendees = JoinAttendees(note);
    if (FAILED(hr = WriteTextProperty(itemText, attendees, propAttendees, event, false)) ||
        FAILED(hr = WriteItemProperty(note, ItemReading::lines, "Location", propLocation, event,
                                      false)) ||
        FAILED(hr = WriteItemProperty(note, ItemReading::lines, "Subject", propSubject, event,
                                      false)) ||
        FAILED(hr = WriteItemProperty(note, ItemReading::categories, "Categories", propCategories,
                                      event, false)) ||
        FAILED(hr = WriteFolder(context.database, event)))
        return hr;
    return SendDocumentEvent(event, context);
}

} // namespace

bool ConvertCalendarEntry(NOTEHANDLE note, PassContext* context) {
    if (!note)
        return RefuseMissingNote(context);
    const WORD occurrences = CalendarEntryOccurrences(note);
    std::optional<DATE> modified;
    if (occurrences > 0)
        modified = NoteModifiedDate(note);
    if (!modified)
        return HandOverAsDeleted(note, context);
    return Finish(context, WriteAndSend(note, *context, occurrences, *modified));
}

} // namespace tamsel
