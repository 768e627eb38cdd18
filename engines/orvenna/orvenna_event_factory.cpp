#include "orvenna_event_factory.h"

namespace orvenna {

OrvennaEventFactory::OrvennaEventFactory()
    : EventFactoryObject(engine_core::kOrvennaComponents, kEmailEvent) {}

HRESULT OrvennaEventFactory::Create(REFIID iid, void** out) {
    return CreateInstance<OrvennaEventFactory>(iid, out);
}

} // namespace orvenna
