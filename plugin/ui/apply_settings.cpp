#include "apply_settings.h"

#include "base/user_interface.h"
#include "catalogue/message_ids.h"
#include "database_entries.h"
#include "dialog_controls.h"
#include "dialog_rules.h"
#include "indexing/indexing_loop.h"
#include "settings/client_settings.h"
#include "settings/database_list.h"
#include "settings_dialog_ids.h"
#include "settings_snapshot.h"
#include "state/index_status.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

namespace tamsel {
namespace {

struct DialogChoices {
    std::vector<std::string> paths;
    BYTE enabled, encrypted, drafts, onIdle, discussion, history;
    DWORD minutes;
    bool reindex;
};

bool ReadChoices(HWND dialog, DialogChoices& choices) {
    const HWND list = GetDlgItem(dialog, IDC_DATABASES);
    const int count = ListBox_GetCount(list);
    if (count < 0) {
        OpenIndexedDatabase(dialog, "", nullptr); // says that the path is invalid
        return false;
    }
    for (int entry = 0; entry < count && entry < userSlotCount; ++entry)
        choices.paths.push_back(EntryClientPath(list, entry));
    choices.enabled = IsChecked(dialog, IDC_ENABLE);
    choices.encrypted = IsChecked(dialog, IDC_INDEX_ENCRYPTED);
    choices.drafts = IsChecked(dialog, IDC_INDEX_DRAFTS);
    choices.onIdle = IsChecked(dialog, IDC_INDEX_ON_IDLE);
    choices.history = IsChecked(dialog, IDC_INDEX_HISTORY);
    choices.discussion = IsChecked(dialog, IDC_INDEX_DISCUSSION);
    choices.minutes = MinutesFieldValue(dialog);
    choices.reindex = IsChecked(dialog, IDC_REINDEX_ALL);
    return true;
}

// Idle and history indexing change what is sent from now on only; the others change what
// the documents already sent would have held.
bool ContentChanged(const DialogChoices& choices) {
    return choices.encrypted != GetIndexEncrypted() || choices.drafts != GetIndexDrafts() ||
           (choices.discussion && !GetIndexDiscussion());
}

// False when the user cancels: nothing is stored.
bool AskRebuild(HWND dialog, DialogChoices& choices) {
    if (GetJustRegistered()) {
        SetJustRegistered(0);
        return true;
    }
    if (choices.reindex || !choices.enabled || !ContentChanged(choices) || configuredCount == 0 ||
        choices.paths.empty())
        return true;
    const int answer =
        AskUser(dialog, msgRebuildQuestion, msgRebuildCaption, MB_ICONQUESTION | MB_YESNOCANCEL);
    if (answer == IDCANCEL)
        return false;
    choices.reindex = answer == IDYES;
    return true;
}

// Empties the slot, with its time stamp, and gives it its new path if it has one.
STORESTATUS ReplaceSlot(int slot, const std::string& path) {
    if (const STORESTATUS status = SetSlotPath(slot, nullptr))
        return status;
    if (const STORESTATUS status = SaveSlotState(slot, nullptr, nullptr, 0, 0, 0))
        return status;
    return path.empty() ? STORE_NOERROR : SetSlotPath(slot, path.c_str());
}

// Stops at the first write the settings file refuses.
STORESTATUS StoreChoices(const DialogChoices& choices) {
    const SlotAllocation allocation = AllocateSlots(choices.paths);
    for (int slot = 0; slot < userSlotCount; ++slot)
        if (allocation.cleared[slot])
            if (const STORESTATUS status = ReplaceSlot(slot, allocation.assigned[slot]))
                return status;
    configuredCount = allocation.configured;
    const std::pair<STORESTATUS (*)(BYTE), BYTE> flags[] = {
        {SetIndexingEnabled, choices.enabled},    {SetIndexEncrypted, choices.encrypted},
        {SetIndexDrafts, choices.drafts},         {SetIndexOnIdle, choices.onIdle},
        {SetIndexDiscussion, choices.discussion}, {SetIndexHistory, choices.history}};
    for (const auto& [set, value] : flags)
        if (const STORESTATUS status = set(value))
            return status;
    return SetFrequencyMinutes(choices.minutes);
}

} // namespace

SlotAllocation AllocateSlots(const std::vector<std::string>& paths) {
    SlotAllocation allocation{};
    std::fill(std::begin(allocation.cleared), std::end(allocation.cleared), true);
    // An empty entry names no database: it neither keeps nor takes a slot.
    std::vector<bool> isNew(paths.size());
    for (size_t entry = 0; entry < paths.size(); ++entry) {
        isNew[entry] = !paths[entry].empty();
        const int slot = isNew[entry] ? FindSlotByPath(paths[entry].c_str()) : -1;
        if (slot < 0)
            continue;
        allocation.cleared[slot] = false;
        isNew[entry] = false;
        ++allocation.configured;
    }
    size_t next = 0;
    for (int slot = 0; slot < userSlotCount; ++slot) {
        if (!allocation.cleared[slot])
            continue;
        while (next < paths.size() && !isNew[next])
            ++next;
        if (next == paths.size())
            continue;
        allocation.assigned[slot] = paths[next++];
        ++allocation.configured;
    }
    return allocation;
}

bool StoreDialogSettings(HWND dialog) {
    DialogChoices choices;
    if (!ReadChoices(dialog, choices))
        return false;
    // Taken before the question, which clears the just-registered mark.
    const SettingsSnapshot before = CaptureSettings();
    if (!AskRebuild(dialog, choices))
        return false;
    const DWORD configuredBefore = configuredCount;
    if (StoreChoices(choices) != STORE_NOERROR) {
        RestoreSettings(before);
        configuredCount = configuredBefore;
        AskUser(dialog, msgSettingsNotSaved, msgDialogCaption, MB_ICONERROR | MB_OK);
        return false;
    }
    if (choices.enabled) {
        if (choices.reindex)
            ResetAllSlots();
        WakeIndexer();
    }
    return true;
}

} // namespace tamsel
