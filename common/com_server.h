// What every in-process COM server DLL of ours shares: the count of live objects and server
// locks that DllCanUnloadNow answers from, and one class factory that calls a class's create
// function. Linked statically, so each DLL keeps a count of its own.
#pragma once
#include <unknwn.h>

namespace com_server {

using CreateFunction = HRESULT (*)(REFIID iid, void** out);

void ObjectCreated();
void ObjectDestroyed();
void LockServer(bool lock);
bool ServerInUse();

// Hands out a new factory of the class that `create` makes, as the asked interface.
HRESULT CreateClassFactory(CreateFunction create, REFIID iid, void** out);

} // namespace com_server
