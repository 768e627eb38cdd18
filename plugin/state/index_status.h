// Progress of the current pass, copied whole by the settings dialog, and which databases'
// open failures have already been logged.
#pragma once
#include <windows.h>

namespace tamsel {

struct IndexStatus {
    BYTE resumePending;
    BYTE upToDate;
    BYTE historyActive;
    BYTE passRunning;
    DWORD total;
    DWORD processed;
    LONG currentSlot;
};

constexpr int userSlotCount = 15;

extern IndexStatus indexStatus;
extern BYTE openErrorReported[userSlotCount];
extern BYTE historyOpenErrorReported;

void GetIndexStatus(IndexStatus* copy);
// Zeroes the progress record and forgets every reported open failure.
void ClearIndexStatus();
void ForgetOpenErrors();

} // namespace tamsel
