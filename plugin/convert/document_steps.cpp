#include "document_steps.h"

#include "catalogue/catalogue.h"
#include "deletion_notice.h"
#include "engine_date.h"
#include "folder_name.h"
#include "property_log.h"
#include "property_writers.h"
#include "settings/client_settings.h"

namespace tamsel {

bool RefuseMissingNote(PassContext* context) {
    if (IsDebugLogging())
        StoreLogMessage(msgLogMailFileNull, ModuleInstance(), 0);
    context->engineResult = S_OK;
    context->noteStatus = STORE_ERR_NO_NOTE;
    return false;
}

bool HandOverAsDeleted(NOTEHANDLE note, PassContext* context) {
    const bool result = TreatAsDeleted(note, context);
    // A notice the engine did not take is an engine failure like a failed send: the walk stops
    // and the note is handled again. Counted as handled, the pass would move its time stamp on
    // and the note's old document would stay for good.
    if (!result && FAILED(context->engineResult)) {
        context->noteStatus = 0;
        return false;
    }
    context->noteStatus = STORE_ERR_STUB;
    context->engineResult = S_OK;
    return result;
}

HRESULT WriteModifiedTime(EngineEvent& event, DATE modified) {
    const HRESULT hr = SetEventDate(event, propModifiedTime, modified);
    if (FAILED(hr))
        DebugLogPropertyFailure("last_modified_time", hr);
    return hr;
}

HRESULT WriteTimeItem(NOTEHANDLE note, const char* itemName, PropertyId id, EngineEvent& event,
                      const char* logName) {
    STORETIME time;
    if (!StoreReadItemTime(note, itemName, &time))
        return S_OK;
    const auto date = ToEngineDate(time);
    if (!date)
        return S_OK;
    const HRESULT hr = SetEventDate(event, id, *date);
    if (FAILED(hr))
        DebugLogPropertyFailure(logName, hr);
    return hr;
}

HRESULT WriteFolder(DBHANDLE database, EngineEvent& event) {
    const HRESULT hr = WriteFolderName(database, event, propFolderName, false);
    if (FAILED(hr))
        DebugLogPropertyFailure("folder_name", hr);
    return hr;
}

bool Finish(PassContext* context, HRESULT result) {
    context->engineResult = result;
    context->noteStatus = 0;
    return result == S_OK;
}

bool ConvertDatedDocument(NOTEHANDLE note, PassContext* context, DocumentSteps steps) {
    if (!note)
        return RefuseMissingNote(context);
    const auto modified = NoteModifiedDate(note);
    if (!modified)
        return HandOverAsDeleted(note, context);
    return Finish(context, steps(note, *context, *modified));
}

} // namespace tamsel
