#include "converters.h"

#include "body_content.h"
#include "document_steps.h"
#include "document_url.h"
#include "engine_date.h"
#include "item_property.h"
#include "send_event.h"
#include "settings/index_type_mask.h"

namespace tamsel {
namespace {

HRESULT WriteAndSend(NOTEHANDLE note, PassContext& context, DATE modified) {
    EngineEvent event(indexTypeJournal);
    HRESULT hr;
    if (FAILED(hr = WriteModifiedTime(event, modified)) ||
        FAILED(hr = WriteBodyContent(note, nullptr, true, event)) ||
        FAILED(hr = WriteDocumentUrl(note, event, propOtherUrl)) ||
        FAILED(hr = WriteItemProperty(note, ItemReading::lines, "Subject", propSubject, event,
                                      false)) ||
        FAILED(hr = WriteItemProperty(note, ItemReading::categories, "Categories", propCategories,
                                      event, false)) ||
        FAILED(hr = WriteTimeItem(note, "TimeCreated", propStartTime, event, "start_time")) ||
        FAILED(hr = WriteFolder(context.database, event)))
        return hr;
    return SendDocumentEvent(event, context);
}

} // namespace

bool ConvertJournalEntry(NOTEHANDLE note, PassContext* context) {
    if (!note)
        return RefuseMissingNote(context);
    const auto modified = NoteModifiedDate(note);
    if (!modified)
        return HandOverAsDeleted(note, context);
    return Finish(context, WriteAndSend(note, *context, *modified));
}

} // namespace tamsel
