#include "converters.h"

#include "body_content.h"
#include "composite_body.h"
#include "conversion_buffers.h"
#include "document_steps.h"
#include "document_url.h"
#include "engine_date.h"
#include "folder_name.h"
#include "send_event.h"
#include "settings/client_settings.h"
#include "settings/index_type_mask.h"
#include "text_property.h"
#include "window_title.h"

namespace tamsel {
namespace {

// The title the client would show; without one, the database's title.
HRESULT WriteTitle(NOTEHANDLE note, const PassContext& context, EngineEvent& event) {
    const WORD length = ComputeWindowTitle(note, windowTitle, textBufferSize);
    if (length == 0)
        return WriteFolderName(context.database, event, propSubject, false);
    return WriteTextProperty(windowTitle, length, propSubject, event, false);
}

// The document's own body for the content and everything else for "other_data", or, when
// the user allows it, the composite of all its items as the content.
HRESULT WriteBody(NOTEHANDLE note, EngineEvent& event) {
    bool bodyWritten = false;
    if (GetComputeOK())
        return BuildCompositeBody(note, 0, true, true, bodyWritten, event);
    const HRESULT hr = WriteBodyContent(note, nullptr, true, event);
    if (FAILED(hr))
        return hr;
    return BuildCompositeBody(note, 0, false, false, bodyWritten, event);
}

HRESULT WriteAndSend(NOTEHANDLE note, PassContext& context, DATE modified) {
    EngineEvent event(indexTypeOther);
    HRESULT hr;
    if (FAILED(hr = WriteModifiedTime(event, modified)) || FAILED(hr = WriteBody(note, event)) ||
        FAILED(hr = WriteDocumentUrl(note, event, propOtherUrl)) ||
        FAILED(hr = WriteTitle(note, context, event)) ||
        FAILED(hr = WriteFolder(context.database, event)))
        return hr;
    return SendDocumentEvent(event, context);
}

} // namespace

bool ConvertOtherDocument(NOTEHANDLE note, PassContext* context) {
    if (!note)
        return RefuseMissingNote(context);
    const auto modified = NoteModifiedDate(note);
    if (!modified)
        return HandOverAsDeleted(note, context);
    return Finish(context, WriteAndSend(note, *context, *modified));
}

} // namespace tamsel
