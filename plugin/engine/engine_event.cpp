#include "engine_event.h"

#include "component_id.h"
#include "engine_factory.h"
#include "engine_state.h"
#include "event_properties.h"
#include "settings/index_type_mask.h"

namespace tamsel {
namespace {

// Document kinds that get an engine event; any other bit leaves the event without one.
bool IsAcceptedKind(DWORD kind) {
    switch (kind) {
    case indexTypeMail:
    case indexTypeSpare:
    case indexTypeContacts:
    case indexTypeCalendar:
    case indexTypeTasks:
    case indexTypeOther:
    case indexTypeJournal:
        return true;
    default:
        return false;
    }
}

} // namespace

EngineEvent::EngineEvent(DWORD kind) {
    url_.get()->vt = VT_I4;
    url_.get()->lVal = 0;
    if (engineUnavailable)
        return;
    ComPtr<IZendriEventFactory> factory;
    creationResult_ = CreateEngineObject(__uuidof(ZendriEventFactory), anyServerContext, factory);
    if (FAILED(creationResult_) || !IsAcceptedKind(kind))
        return;
    // Every kind of document travels under the mail schema.
    const ThrowingBstr id(componentId), schema(L"ZendriDS.Mail");
    ComPtr<IDispatch> created;
    creationResult_ = factory->CreateEvent(id.get(), schema.get(), &created);
    if (FAILED(creationResult_))
        return;
    creationResult_ = created.As(&event_);
}

void EngineEvent::SetUrl(const VARIANT& url) {
    VariantCopy(url_.get(), const_cast<VARIANT*>(&url)); // the source is only read
    urlGiven_ = true;
}

HRESULT EngineEvent::AddProperty(const wchar_t* name, const VARIANT& value) {
    if (!event_)
        return creationResult_;
    return AddVariantProperty(*event_.Get(), name, value);
}

HRESULT EngineEvent::Send() {
    if (!event_)
        return creationResult_;
    IZendriEvent& event = *event_.Get();
    const wchar_t* content = content_.data();
    HRESULT hr = AddTextProperty(event, L"content",
                                 content ? std::wstring_view(content, content_.length())
                                         : std::wstring_view());
    if (FAILED(hr))
        return hr;
    hr = urlGiven_ ? AddVariantProperty(event, L"url", *url_) : AddTextProperty(event, L"url", L"");
    if (FAILED(hr))
        return hr;
    if (!formatGiven_ && FAILED(hr = AddTextProperty(event, L"content_format", L"text/plain")))
        return hr;
    if (!timeGiven_ && FAILED(hr = AddLongProperty(event, L"time", 0)))
        return hr;
    return event.Send();
}

} // namespace tamsel
