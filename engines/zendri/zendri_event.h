// The primary engine's event: properties of the "ZendriDS.Mail" schema, then Send.
#pragma once
#include "core/event_objects.h"
#include "idl/desktop_search.h"

namespace zendri {

extern const engine_core::EventKind kMailEvent;

class ZendriEvent final : public engine_core::EventObject<IZendriEvent> {
  public:
    using EventObject::EventObject;
    HRESULT STDMETHODCALLTYPE Send() override;
};

} // namespace zendri
