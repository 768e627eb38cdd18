#include "module_count.h"

#include <windows.h>

namespace engine_com {
namespace {
LONG outstanding = 0;
}

void ObjectCreated() {
    InterlockedIncrement(&outstanding);
}
void ObjectDestroyed() {
    InterlockedDecrement(&outstanding);
}
void LockServer(bool lock) {
    lock ? ObjectCreated() : ObjectDestroyed();
}
bool CanUnload() {
    return InterlockedCompareExchange(&outstanding, 0, 0) == 0;
}

} // namespace engine_com
