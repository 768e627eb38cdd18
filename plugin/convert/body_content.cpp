#include "body_content.h"

#include "body_text.h"
#include "data_fields.h"
#include "document_url.h"
#include "idl/engine_results.h"
#include "property_log.h"
#include "property_writers.h"
#include "settings/index_type_mask.h"

namespace tamsel {
namespace {

using engine_results::E_NO_SUCH_PROPERTY;

HRESULT WriteContent(NOTEHANDLE note, const std::wstring& text, EngineEvent& event) {
    if (IsIndexTypeEnabled(indexFeatureUrl) &&
        WriteDocumentUrl(note, event, propExtendedUrl) == E_NO_SUCH_PROPERTY) {
        // An engine without the extended properties: none of them from now on.
        SetIndexTypeEnabled(indexFeatureUrl, 0);
        SetIndexTypeEnabled(indexFeatureDeletions, 0);
        SetIndexTypeEnabled(indexFeatureOtherData, 0);
    }
    HRESULT hr = SetEventText(event, propContentFormat, L"text/plain");
    if (FAILED(hr)) {
        DebugLogPropertyFailure("format", hr);
        return hr;
    }
    hr = SetEventText(event, propContent, text);
    if (FAILED(hr)) {
        DebugLogPropertyFailure("content", hr);
        return hr;
    }
    if (!IsIndexTypeEnabled(indexFeatureOtherData))
        return S_OK;
    hr = WriteDocumentUrl(note, event, propOtherData);
    if (hr == E_NO_SUCH_PROPERTY) {
        SetIndexTypeEnabled(indexFeatureOtherData, 0);
        return S_OK;
    }
    return hr;
}

HRESULT WriteOtherData(const std::wstring& text, EngineEvent& event) {
    if (!IsIndexTypeEnabled(indexFeatureOtherData))
        return S_OK;
    const HRESULT hr = SetEventText(event, propOtherData, text);
    if (SUCCEEDED(hr))
        return hr;
    if (hr == E_NO_SUCH_PROPERTY)
        SetIndexTypeEnabled(indexFeatureOtherData, 0);
    DebugLogPropertyFailure("other_data", hr);
    return S_OK;
}

} // namespace

HRESULT WriteBodyContent(NOTEHANDLE note, const char* itemName, bool writeContent,
                         EngineEvent& event, NOTEHANDLE urlNote) {
    std::wstring text = BodyToText(note, itemName, 0);
    if (!itemName && text.empty())
        text = ReadDataFieldsText(note);
    return writeContent ? WriteContent(urlNote ? urlNote : note, text, event)
                        : WriteOtherData(text, event);
}

} // namespace tamsel
