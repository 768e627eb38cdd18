// ZendriDS.dll: the primary engine's registrar and event factory, and the second engine's
// query object over the same index.
#include "com/server_definition.h"
#include "query/query_object.h"
#include "zendri_event_factory.h"
#include "zendri_registrar.h"

namespace {

const engine_com::ClassEntry kClasses[] = {
    {__uuidof(ZendriRegistrar), L"Zendri Desktop Search Registrar",
     zendri::ZendriRegistrar::Create},
    {__uuidof(ZendriEventFactory), L"Zendri Desktop Search Event Factory",
     zendri::ZendriEventFactory::Create},
    {__uuidof(OrvennaQuery), L"Orvenna Desktop Query", engine_query::QueryObject::Create},
};

} // namespace

const engine_com::ServerDefinition engine_com::kServer{kClasses, nullptr};
