// Steps that the converters of every kind of document share.
#pragma once
#include "engine/engine_event.h"
#include "property_id.h"
#include "state/pass_context.h"

namespace tamsel {

// No note to convert: logged in debug mode, status 551. Answers false.
bool RefuseMissingNote(PassContext* context);
// A note that cannot be indexed as it is leaves the index by the deletion road: status 549.
// Answers the deletion notice's verdict.
bool HandOverAsDeleted(NOTEHANDLE note, PassContext* context);

// "time" from the document's last change; a failure is logged in debug mode.
HRESULT WriteModifiedTime(EngineEvent& event, DATE modified);
// A time item as a date line; nothing when the item is absent or no date. A failed write is
// logged under `logName` in debug mode.
HRESULT WriteTimeItem(NOTEHANDLE note, const char* itemName, PropertyId id, EngineEvent& event,
                      const char* logName);
// The database's title as "folder_name"; a failure is logged in debug mode.
HRESULT WriteFolder(DBHANDLE database, EngineEvent& event);

// Keeps the result of a conversion's steps: true when the event went out.
bool Finish(PassContext* context, HRESULT result);

} // namespace tamsel
