// The primary engine's event: properties of the "ZendriDS.Mail" schema, then Send.
#pragma once
#include "desktop_search.h"
#include "event_objects.h"

namespace zendri {

extern const engine_core::EventKind kMailEvent;

class ZendriEvent final : public engine_core::EventObject<IZendriEvent> {
  public:
    using EventObject::EventObject;
    HRESULT STDMETHODCALLTYPE Send() override;
};

} // namespace zendri
