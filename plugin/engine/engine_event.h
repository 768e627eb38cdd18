// One document on its way to the primary engine: the engine's event, the content text that
// collects every property the engine's schema does not carry, and the kept document URL.
// Used by one converter on the indexing thread and never shared.
#pragma once
#include "com_owners.h"
#include "content_text.h"
#include "idl/desktop_search.h"

#include <string_view>

namespace tamsel {

class EngineEvent {
  public:
    // kind: the document's IndexTypeMask bit. When no engine event can be made the object
    // still exists, and every call answers the creation result. Raises E_OUTOFMEMORY when
    // the names for the engine cannot be allocated.
    explicit EngineEvent(DWORD kind);
    EngineEvent(const EngineEvent&) = delete;
    EngineEvent& operator=(const EngineEvent&) = delete;

    void AppendContent(std::wstring_view text) { content_.Append(text); }
    void SetUrl(const VARIANT& url);
    // The writer adds "content_format" or "time" itself; Send then leaves out its default.
    void MarkFormatGiven() { formatGiven_ = true; }
    void MarkTimeGiven() { timeGiven_ = true; }

    HRESULT AddProperty(const wchar_t* name, const VARIANT& value);
    // Adds "content", "url" and the defaults still missing, then sends; the first failure
    // ends it and nothing is sent.
    HRESULT Send();

    bool HasEngineEvent() const { return event_ != nullptr; }
    HRESULT CreationResult() const { return creationResult_; }

  private:
    ContentText content_;
    ComPtr<IZendriEvent> event_;
    bool urlGiven_ = false;
    bool formatGiven_ = false;
    bool timeGiven_ = false;
    UniqueVariant url_;
    // Until an engine is asked (and while it is unavailable): a failure no engine gives.
    static constexpr HRESULT engineNotAsked = static_cast<HRESULT>(0xFFFFFFFF);
    HRESULT creationResult_ = engineNotAsked;
};

} // namespace tamsel
