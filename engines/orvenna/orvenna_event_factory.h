// The second engine's event factory.
#pragma once
#include "desktop_search.h"
#include "event_objects.h"
#include "orvenna_event.h"

namespace orvenna {

class OrvennaEventFactory final
    : public engine_core::EventFactoryObject<IOrvennaEventFactory, OrvennaEvent> {
  public:
    OrvennaEventFactory();
    static HRESULT Create(REFIID iid, void** out);
};

} // namespace orvenna
