#include "send_event.h"

#include "catalogue/message_ids.h"
#include "engine/engine_log.h"
#include "settings/index_type_mask.h"

namespace tamsel {

HRESULT SendEvent(EngineEvent& event) {
    const HRESULT hr = event.Send();
    if (hr != S_OK)
        DebugLogResult(msgLogSendFailed, hr);
    return hr;
}

HRESULT SendDocumentEvent(EngineEvent& event, PassContext& context) {
    context.sendCookie = 0;
    // The engine takes no send flags, but asking the idle gate still lets it count down.
    if (IsIndexTypeEnabled(indexFeatureUrl) && context.initialPass)
        IdleSendGate();
    return SendEvent(event);
}

} // namespace tamsel
