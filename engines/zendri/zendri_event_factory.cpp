#include "zendri_event_factory.h"

namespace zendri {

ZendriEventFactory::ZendriEventFactory()
    : EventFactoryObject(engine_core::kZendriComponents, kMailEvent) {}

HRESULT ZendriEventFactory::Create(REFIID iid, void** out) {
    return CreateInstance<ZendriEventFactory>(iid, out);
}

} // namespace zendri
