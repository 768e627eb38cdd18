#include "object_count.h"

#include <windows.h>

namespace tamsel {
namespace {
// Objects and locks together: either keeps the module loaded.
LONG outstanding = 0;
} // namespace

void ObjectCreated() {
    InterlockedIncrement(&outstanding);
}
void ObjectDestroyed() {
    InterlockedDecrement(&outstanding);
}
void LockServer(bool lock) {
    lock ? ObjectCreated() : ObjectDestroyed();
}
bool ServerInUse() {
    return InterlockedCompareExchange(&outstanding, 0, 0) != 0;
}

} // namespace tamsel
