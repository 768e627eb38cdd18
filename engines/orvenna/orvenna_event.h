// The second engine's event of the "Orvenna.Desktop.Email" schema.
#pragma once
#include "core/event_objects.h"
#include "idl/desktop_search.h"

namespace orvenna {

extern const engine_core::EventKind kEmailEvent;

class OrvennaEvent final : public engine_core::EventObject<IOrvennaEvent> {
  public:
    using EventObject::EventObject;
    HRESULT STDMETHODCALLTYPE Send(long flags) override;
};

} // namespace orvenna
