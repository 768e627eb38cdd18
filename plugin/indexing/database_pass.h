// One pass over one database of the list.
#pragma once
#include <windows.h>

namespace tamsel {

constexpr int historySlot = 15;

void PassOverSlot(int slot, BYTE historyPass);

} // namespace tamsel
