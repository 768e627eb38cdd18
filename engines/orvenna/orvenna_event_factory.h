// The second engine's event factory.
#pragma once
#include "core/event_objects.h"
#include "idl/desktop_search.h"
#include "orvenna_event.h"

namespace orvenna {

class OrvennaEventFactory final
    : public engine_core::EventFactoryObject<IOrvennaEventFactory, OrvennaEvent> {
  public:
    OrvennaEventFactory();
    static HRESULT Create(REFIID iid, void** out);
};

} // namespace orvenna
