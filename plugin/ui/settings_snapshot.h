// What OK or Apply may change, as it was before: put back when the settings file refuses a
// write part way, so that neither the file nor the process keeps half of the change.
#pragma once
#include "ntamsel.h"
#include "state/index_status.h"

#include <string>

namespace tamsel {

struct SlotSnapshot {
    std::string path;
    BYTE indexed;
    STORETIME lastIndexed;
    BYTE resumable;
    STORETIME until;
    NOTEID resumeNoteId;
    LONG processed, total;
};

struct SettingsSnapshot {
    BYTE enabled, encrypted, drafts, onIdle, discussion, history, justRegistered;
    DWORD minutes;
    SlotSnapshot slots[userSlotCount];
};

SettingsSnapshot CaptureSettings();
// Writes every value back, in process and, where it still can, in the file.
void RestoreSettings(const SettingsSnapshot& snapshot);

} // namespace tamsel
