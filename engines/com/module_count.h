// The count of live objects and server locks of one engine DLL (for DllCanUnloadNow).
#pragma once

namespace engine_com {

void ObjectCreated();
void ObjectDestroyed();
void LockServer(bool lock);
bool CanUnload();

} // namespace engine_com
