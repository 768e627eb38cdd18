// The database's title as the document's folder.
#pragma once
#include "engine/engine_event.h"
#include "ntamsel.h"
#include "property_id.h"

namespace tamsel {

// An empty text when there is no database or its information cannot be read.
HRESULT WriteFolderName(DBHANDLE database, EngineEvent& event, PropertyId id, bool writeEmpty);

} // namespace tamsel
