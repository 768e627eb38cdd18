// The COM server's count of live objects and server locks, which DllCanUnloadNow answers from.
#pragma once

namespace tamsel {

void ObjectCreated();
void ObjectDestroyed();
void LockServer(bool lock);
bool ServerInUse();

} // namespace tamsel
