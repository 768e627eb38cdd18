#include "status_lines.h"

#include "catalogue/catalogue.h"
#include "database_entries.h"
#include "dialog_controls.h"
#include "settings/client_settings.h"
#include "settings/database_list.h"
#include "settings/slot_state.h"
#include "settings_dialog_ids.h"
#include "state/engine_condition.h"
#include "state/index_status.h"

#include <windowsx.h>

#include <optional>
#include <string>

namespace tamsel {
namespace {

bool IsCurrentPass(const IndexStatus& status) {
    return status.passRunning || status.resumePending;
}

std::string LastIndexedText(int slot) {
    STORETIME last{}, earliest{};
    StoreSetTimeConstant(STORE_TIME_EARLIEST, &earliest);
    std::string rendered;
    if (!GetLastIndexed(slot, &last) || StoreCompareTimes(&last, &earliest) == 0 ||
        !TimeText(last, rendered))
        return MessageText(msgWaitingToIndex);
    return MessageText(msgLastIndexed) + PlatformPath(rendered);
}

// What the selected-database line says after its label.
std::string SelectedDatabaseState(int slot, const IndexStatus& status) {
    if (slot < 0)
        return MessageText(msgNotIndexingYet);
    if (slot == status.currentSlot && IsCurrentPass(status))
        return status.historyActive
                   ? ProgressText(msgPausedOnDocument, status.processed, status.total)
                   : MessageText(msgProcessing);
    STORETIME until{};
    NOTEID noteId = 0;
    if (GetResumePoint(slot, &until, &noteId)) {
        LONG processed = 0, total = 0;
        if (!GetSavedProgress(slot, &processed, &total))
            return MessageText(msgPaused);
        return ProgressText(msgPausedOnDocument, DWORD(processed), DWORD(total));
    }
    return LastIndexedText(slot);
}

// Why nothing is indexed while the indexing thread waits for the engine; none when it does not.
// The dialog's texts name the primary engine: when only the second one is there, the primary
// is not installed.
std::optional<MessageId> EngineWaitText(EngineState engine) {
    if (engine.secondEngine && engine.condition != EngineCondition::ready)
        return msgEngineNotInstalled;
    return MessagesOf(engine.condition).statusText;
}

void SetLine(HWND dialog, int control, bool shown, const std::string& text) {
    if (shown)
        SetControlText(dialog, control, StatusLine(text));
    ShowControl(dialog, control, shown);
}

} // namespace

void RefreshStatus(HWND dialog) {
    IndexStatus status;
    GetIndexStatus(&status);
    const HWND list = GetDlgItem(dialog, IDC_DATABASES);
    const int selected = ListBox_GetCurSel(list);
    const int selectedSlot = selected >= 0 ? EntrySlot(list, selected) : -1;
    std::string selectedText;
    if (selected >= 0)
        selectedText =
            MessageText(msgDialogSelectedStatus) + SelectedDatabaseState(selectedSlot, status);

    bool processingShown = false;
    std::string processingText, progress;
    const int current = int(status.currentSlot);
    char currentPath[slotPathLength + 1];
    const bool enabled = IsIndexingEnabled();
    if (enabled && current >= 0 && current < userSlotCount &&
        GetSlotPath(current, currentPath, sizeof currentPath)) {
        processingText =
            MessageText(msgDialogProcessing) +
            (status.historyActive ? MessageText(msgIndexingHistory) : PlatformPath(currentPath));
        if (status.historyActive) {
            processingShown = true;
        } else if (status.passRunning || status.resumePending) {
            processingShown = true;
            progress = ProgressText(status.passRunning ? msgIndexingDocument : msgPausedOnDocument,
                                    status.processed, status.total);
            if (selected >= 0 && selectedSlot == current)
                selectedText = MessageText(msgDialogSelectedStatus) + MessageText(msgProcessing);
        }
    }
    SetLine(dialog, IDC_SELECTED_STATUS, selected >= 0, selectedText);
    const std::optional<MessageId> waiting = enabled ? EngineWaitText(engineState) : std::nullopt;
    SetLine(dialog, IDC_PROCESSING, processingShown, processingText);
    SetLine(dialog, IDC_STATUS, (processingShown && !status.historyActive) || waiting,
            MessageText(msgDialogStatus) + (waiting ? MessageText(*waiting) : progress));
}

} // namespace tamsel
