#include "empty_mail_event.h"

#include "base/hresult_error.h"
#include "document_url.h"
#include "property_log.h"
#include "property_writers.h"
#include "send_event.h"
#include "settings/index_type_mask.h"

#include <string>

namespace tamsel {
namespace {

constexpr PropertyId emptiedIds[] = {propContent,    propFrom,       propTo,      propMailSubject,
                                     propCc,         propBcc,        propReplyTo, propFolderName,
                                     propMailHeader, propExtendedUrl};

HRESULT WriteEmptyEvent(EngineEvent& event, DBHANDLE database,
                        const STOREORIGINATORID& originator) {
    HRESULT hr = SetEventDate(event, propReceivedTime, 0.0);
    if (FAILED(hr)) {
        DebugLogPropertyFailure("received", hr);
        return hr;
    }
    if (FAILED(hr = SetEventText(event, propContentFormat, L"text/plain"))) {
        DebugLogPropertyFailure("format", hr);
        return hr;
    }
    for (const PropertyId id : emptiedIds)
        if (FAILED(hr = WriteEmptyProperty(event, id)))
            return hr;
    char url[documentUrlSize];
    const WORD length = BuildDocumentUrl(database, originator, url);
    if (FAILED(hr = SetEventText(event, propMailUrl, std::wstring(url, url + length)))) {
        DebugLogPropertyFailure("mail_id", hr);
        return hr;
    }
    return hr;
}

HRESULT WriteAndSendEmptyEvent(DBHANDLE database, const STOREORIGINATORID& originator) {
    EngineEvent event(indexTypeMail);
    RETURN_IF_FAILED(WriteEmptyEvent(event, database, originator));
    return SendEvent(event);
}

} // namespace

HRESULT WriteEmptyProperty(EngineEvent& event, PropertyId id) {
    const HRESULT hr = SetEventText(event, id, L"");
    if (FAILED(hr))
        DebugLogPropertyFailure(PropertyLogName(id).c_str(), hr);
    return hr;
}

bool SendEmptyMailEvent(DBHANDLE database, NOTEID id, PassContext* context) {
    context->engineResult = S_OK;
    context->noteStatus = 0;
    STOREORIGINATORID originator{};
    const STORESTATUS status = StoreGetNoteInfoById(database, id, &originator, nullptr, nullptr);
    if (status != STORE_NOERROR && status != STORE_ERR_STUB)
        return false;
    context->engineResult = WriteAndSendEmptyEvent(database, originator);
    return context->engineResult == S_OK;
}

} // namespace tamsel
