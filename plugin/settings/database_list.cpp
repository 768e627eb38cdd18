#include "database_list.h"

#include "client_settings.h"
#include "engine_index_check.h"
#include "slot_state.h"
#include "state/index_status.h"
#include "state/thread_flags.h"

#include <cstring>
#include <mutex>
#include <string>

namespace tamsel {

HRESULT (*withdrawServerRegistration)() = nullptr;

namespace {

struct DatabaseSlot {
    char path[slotPathLength + 1];
    SlotState state;
    std::string replica; // of the database last indexed at the path; empty when not known
};

// Written by the dialog and by the indexing thread; the lock only keeps each copy whole.
std::mutex slotsLock;
DatabaseSlot slots[slotCount];

bool ValidSlot(int slot) {
    return slot >= 0 && slot < slotCount;
}

void EnsureLoaded() {
    if (!SettingsLoaded())
        LoadSettings();
}

// Kept beside the time stamp, whose text form others read.
constexpr char replicaVariable[] = "DesktopSearchReplica";
constexpr size_t replicaTextSize = 64;

std::string VariableName(const char* prefix, int slot) {
    return slot == 0 ? prefix : prefix + std::to_string(slot);
}

STORESTATUS WriteStateVariable(int slot, const std::string& text) {
    return StoreSetEnvString(VariableName("DesktopSearchTimestamp", slot).c_str(), text.c_str());
}

STORESTATUS SetState(int slot, const SlotState& state, const std::string& text) {
    {
        std::lock_guard lock(slotsLock);
        slots[slot].state = state;
    }
    return WriteStateVariable(slot, text);
}

// The default history database, when it is a usable database.
void UseDefaultHistoryPath() {
    char directory[STORE_PATH_SIZE];
    StoreGetDataDirectory(directory);
    char path[2 * STORE_PATH_SIZE];
    JoinPath(directory, "shelf.zrb", path, sizeof path);
    if (OpenIndexedDatabase(nullptr, path, nullptr) == STORE_NOERROR)
        SetSlotPath(historySlot, path);
}

void LoadSlot(int slot) {
    {
        std::lock_guard lock(slotsLock);
        slots[slot].path[0] = '\0';
        slots[slot].state = EmptySlotState();
        slots[slot].replica.clear();
    }
    char path[slotPathLength + 1];
    if (!StoreGetEnvString(VariableName("DesktopSearchFilePath", slot).c_str(), path,
                           sizeof path)) {
        if (slot == historySlot)
            UseDefaultHistoryPath();
        return;
    }
    char text[256];
    const bool stamped =
        StoreGetEnvString(VariableName("DesktopSearchTimestamp", slot).c_str(), text, sizeof text);
    const SlotState state = stamped ? ParseSlotState(text) : EmptySlotState();
    char replica[replicaTextSize] = "";
    if (!StoreGetEnvString(VariableName(replicaVariable, slot).c_str(), replica, sizeof replica))
        replica[0] = '\0';
    std::lock_guard lock(slotsLock);
    std::memcpy(slots[slot].path, path, sizeof path);
    slots[slot].state = state;
    slots[slot].replica = replica;
}

} // namespace

bool EngineIndexRemade(std::string* created) {
    const std::string now = EngineIndexCreationText();
    if (created)
        *created = now;
    char seen[256];
    return !now.empty() &&
           (!StoreGetEnvString("DesktopSearchInstallTimestamp", seen, sizeof seen) || now != seen);
}

void LoadDatabaseList() {
    std::string created;
    if (EngineIndexRemade(&created)) {
        SetInstallTime(0);
        StoreSetEnvString("DesktopSearchInstallTimestamp", created.c_str());
        for (int slot = 0; slot < slotCount; ++slot)
            WriteStateVariable(slot, "");
        if (withdrawServerRegistration)
            withdrawServerRegistration();
    }
    for (int slot = 0; slot < slotCount; ++slot)
        LoadSlot(slot);
}

int FindSlotByPath(const char* path) {
    EnsureLoaded();
    if (!path)
        return -1;
    std::lock_guard lock(slotsLock);
    for (int slot = 0; slot < historySlot; ++slot)
        if (slots[slot].path[0] && std::strcmp(slots[slot].path, path) == 0)
            return slot;
    return -1;
}

STORESTATUS SetSlotPath(int slot, const char* path) {
    EnsureLoaded();
    if (!ValidSlot(slot))
        return STORE_ERR_BAD_ARGUMENT;
    char kept[slotPathLength + 1] = "";
    if (path)
        std::strncat(kept, path, slotPathLength);
    bool moved = false;
    {
        std::lock_guard lock(slotsLock);
        moved = std::strcmp(slots[slot].path, kept) != 0;
        std::memcpy(slots[slot].path, kept, sizeof kept);
    }
    // Whatever database the new path holds is the first one seen there.
    if (moved)
        SetSlotReplica(slot, "");
    return StoreSetEnvString(VariableName("DesktopSearchFilePath", slot).c_str(), kept);
}

std::string GetSlotReplica(int slot) {
    EnsureLoaded();
    if (!ValidSlot(slot))
        return {};
    std::lock_guard lock(slotsLock);
    return slots[slot].replica;
}

STORESTATUS SetSlotReplica(int slot, const std::string& replica) {
    EnsureLoaded();
    if (!ValidSlot(slot) || replica.size() >= replicaTextSize)
        return STORE_ERR_BAD_ARGUMENT;
    {
        std::lock_guard lock(slotsLock);
        if (slots[slot].replica == replica)
            return STORE_NOERROR;
        slots[slot].replica = replica;
    }
    return StoreSetEnvString(VariableName(replicaVariable, slot).c_str(), replica.c_str());
}

bool SlotHolds(int slot, const char* path) {
    EnsureLoaded();
    if (!ValidSlot(slot))
        return false;
    std::lock_guard lock(slotsLock);
    return slots[slot].path[0] && (!path || std::strcmp(slots[slot].path, path) == 0);
}

BYTE GetSlotPath(int slot, char* buffer, WORD size) {
    EnsureLoaded();
    if (buffer && size > 0)
        buffer[0] = '\0';
    if (!ValidSlot(slot))
        return 0;
    std::lock_guard lock(slotsLock);
    if (buffer && size > 0) {
        const size_t length = std::strlen(slots[slot].path);
        const size_t copied = length < size_t(size - 1) ? length : size_t(size - 1);
        std::memcpy(buffer, slots[slot].path, copied);
        buffer[copied] = '\0';
    }
    return slots[slot].path[0] ? 1 : 0;
}

BYTE GetLastIndexed(int slot, STORETIME* time) {
    EnsureLoaded();
    if (!ValidSlot(slot))
        return 0;
    std::lock_guard lock(slotsLock);
    if (time)
        *time = slots[slot].state.lastIndexedTime;
    return slots[slot].state.lastIndexedValid ? 1 : 0;
}

BYTE GetResumePoint(int slot, STORETIME* until, NOTEID* noteId) {
    EnsureLoaded();
    if (!ValidSlot(slot))
        return 0;
    std::lock_guard lock(slotsLock);
    const SlotState& state = slots[slot].state;
    if (!state.resumeValid)
        return 0;
    if (until)
        *until = state.untilTime;
    if (noteId)
        *noteId = state.resumeNoteId;
    return 1;
}

BYTE GetSavedProgress(int slot, LONG* processed, LONG* total) {
    EnsureLoaded();
    if (!ValidSlot(slot))
        return 0;
    std::lock_guard lock(slotsLock);
    const SlotState& state = slots[slot].state;
    if (!state.resumeValid || state.savedProcessed == 0 || state.savedTotal == 0)
        return 0;
    if (processed)
        *processed = state.savedProcessed;
    if (total)
        *total = state.savedTotal;
    return 1;
}

STORESTATUS SaveSlotState(int slot, const STORETIME* lastIndexed, const STORETIME* until,
                          NOTEID resumeNoteId, LONG processed, LONG total) {
    EnsureLoaded();
    if (!ValidSlot(slot))
        return STORE_ERR_BAD_ARGUMENT;
    SlotState state = EmptySlotState();
    const STORETIME earliest = state.lastIndexedTime;
    std::string first;
    const bool rendered = lastIndexed && TimeText(*lastIndexed, first) &&
                          (!first.empty() || StoreCompareTimes(lastIndexed, &earliest) == 0);
    if (!rendered)
        return SetState(slot, EmptySlotState(), "");
    if (first.empty())
        first.push_back('0'); // the earliest time has no text of its own
    state.lastIndexedTime = *lastIndexed;
    state.lastIndexedValid = true;
    std::string second;
    if (!until || !TimeText(*until, second) || second.empty())
        return SetState(slot, state, first);
    state.untilTime = *until;
    state.resumeValid = true;
    state.resumeNoteId = resumeNoteId;
    state.savedProcessed = processed;
    state.savedTotal = total;
    std::string text = first;
    for (const std::string& field : {second, std::to_string(LONG(resumeNoteId)),
                                     std::to_string(processed), std::to_string(total)})
        text.append("|").append(field);
    return SetState(slot, state, text);
}

void ResetAllSlots() {
    EnsureLoaded();
    resetRequested = true;
    for (int slot = 0; slot < slotCount; ++slot)
        SaveSlotState(slot, nullptr, nullptr, 0, 0, 0);
    ForgetOpenErrors();
    nextWaitMs = 0;
}

} // namespace tamsel
