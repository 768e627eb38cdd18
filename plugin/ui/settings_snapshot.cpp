#include "settings_snapshot.h"

#include "settings/client_settings.h"
#include "settings/database_list.h"

namespace tamsel {

SettingsSnapshot CaptureSettings() {
    SettingsSnapshot snapshot{};
    snapshot.enabled = IsIndexingEnabled();
    snapshot.encrypted = GetIndexEncrypted();
    snapshot.drafts = GetIndexDrafts();
    snapshot.onIdle = GetIndexOnIdle();
    snapshot.discussion = GetIndexDiscussion();
    snapshot.history = GetIndexHistory();
    snapshot.minutes = GetFrequencyMinutes();
    snapshot.justRegistered = GetJustRegistered();
    for (int slot = 0; slot < userSlotCount; ++slot) {
        SlotSnapshot& kept = snapshot.slots[slot];
        char path[slotPathLength + 1];
        GetSlotPath(slot, path, sizeof path);
        kept.path = path;
        kept.indexed = GetLastIndexed(slot, &kept.lastIndexed);
        kept.resumable = GetResumePoint(slot, &kept.until, &kept.resumeNoteId);
        GetSavedProgress(slot, &kept.processed, &kept.total);
    }
    return snapshot;
}

void RestoreSettings(const SettingsSnapshot& snapshot) {
    for (int slot = 0; slot < userSlotCount; ++slot) {
        const SlotSnapshot& kept = snapshot.slots[slot];
        SetSlotPath(slot, kept.path.c_str());
        SaveSlotState(slot, kept.indexed ? &kept.lastIndexed : nullptr,
                      kept.resumable ? &kept.until : nullptr, kept.resumeNoteId, kept.processed,
                      kept.total);
    }
    SetIndexingEnabled(snapshot.enabled);
    SetIndexEncrypted(snapshot.encrypted);
    SetIndexDrafts(snapshot.drafts);
    SetIndexOnIdle(snapshot.onIdle);
    SetIndexDiscussion(snapshot.discussion);
    SetIndexHistory(snapshot.history);
    SetFrequencyMinutes(snapshot.minutes);
    SetJustRegistered(snapshot.justRegistered);
}

} // namespace tamsel
