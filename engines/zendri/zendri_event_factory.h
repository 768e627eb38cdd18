// The primary engine's event factory: events for registered components only.
#pragma once
#include "core/event_objects.h"
#include "idl/desktop_search.h"
#include "zendri_event.h"

namespace zendri {

class ZendriEventFactory final
    : public engine_core::EventFactoryObject<IZendriEventFactory, ZendriEvent> {
  public:
    ZendriEventFactory();
    static HRESULT Create(REFIID iid, void** out);
};

} // namespace zendri
