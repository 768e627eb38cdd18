#include "text_property.h"

#include "conversion_buffers.h"
#include "idl/engine_results.h"
#include "ntamsel.h"
#include "property_log.h"
#include "property_writers.h"

namespace tamsel {
HRESULT WriteTextProperty(const char* text, WORD length, PropertyId id, EngineEvent& event,
                          bool writeEmpty) {
    if (length == 0 && !writeEmpty)
        return S_OK;
    const WORD bytes = length == 0
                           ? 0
                           : StoreTranslateText(STORE_TRANSLATE_TO_UNICODE, text, length,
                                                reinterpret_cast<char*>(wideText), wideBufferBytes);
    const HRESULT hr = SetEventText(event, id, std::wstring_view(wideText, bytes / 2));
    if (hr == engine_results::E_NO_SUCH_PROPERTY) {
        LogPropertyFailure(PropertyLogName(id).c_str(), hr);
        LogPropertyFailure("no such property", hr);
        return S_OK;
    }
    if (FAILED(hr))
        DebugLogPropertyFailure(PropertyLogName(id).c_str(), hr);
    return hr;
}

} // namespace tamsel
