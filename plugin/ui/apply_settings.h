// OK and Apply: the dialog's choices become the stored settings and database slots.
#pragma once
#include "state/index_status.h"

#include <windows.h>

#include <string>
#include <vector>

namespace tamsel {

// Which path each user slot is to hold: kept slots keep their path (and time stamp), every
// other slot is emptied and takes the next new path in list order.
struct SlotAllocation {
    bool cleared[userSlotCount];
    std::string assigned[userSlotCount]; // for a cleared slot: its new path, or empty
    DWORD configured;                    // entries that have a slot afterwards
};
SlotAllocation AllocateSlots(const std::vector<std::string>& paths);

// False when nothing was stored: the user cancelled the rebuild question, the list failed or
// the settings could not be written (the user has been told). The dialog then stays open.
bool StoreDialogSettings(HWND dialog);

} // namespace tamsel
