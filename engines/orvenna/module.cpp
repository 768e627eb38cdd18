// OrvennaDesktop.dll, the second engine: event factory, registrar and query object.
// Registering it makes the engine's index.
#include "com/server_definition.h"
#include "core/orvenna_index.h"
#include "orvenna_event_factory.h"
#include "orvenna_registrar.h"
#include "query/query_object.h"

namespace {

const engine_com::ClassEntry kClasses[] = {
    {__uuidof(OrvennaEventFactory), L"Orvenna Desktop Event Factory",
     orvenna::OrvennaEventFactory::Create},
    {__uuidof(OrvennaRegistrar), L"Orvenna Desktop Registrar", orvenna::OrvennaRegistrar::Create},
    {__uuidof(OrvennaQuery), L"Orvenna Desktop Query", engine_query::QueryObject::Create},
};

} // namespace

const engine_com::ServerDefinition engine_com::kServer{kClasses, engine_core::EnsureOrvennaIndex};
