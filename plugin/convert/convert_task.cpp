#include "converters.h"

#include "body_content.h"
#include "document_steps.h"
#include "document_url.h"
#include "engine_date.h"
#include "item_property.h"
#include "item_text.h"
#include "note_kind.h"
#include "occurrences.h"
#include "property_log.h"
#include "property_writers.h"
#include "send_event.h"
#include "settings/index_type_mask.h"

#include <optional>

namespace tamsel {
namespace {

constexpr double taskTypeDefault = 1;
constexpr double taskTypeAssigned = 2;
constexpr double dueStateDefault = 20;
constexpr double importanceDefault = 20;

DWORD TaskStatus(NOTEHANDLE note) {
    double type = taskTypeDefault;
    StoreReadItemNumber(note, "TaskType", &type);
    // An assigned task that was never sent has no state yet.
    if (type == taskTypeAssigned && !HasItem(note, "PostedDate"))
        return 0;
    double dueState = dueStateDefault;
    StoreReadItemNumber(note, "DueState", &dueState);
    static constexpr struct {
        double dueState;
        DWORD status;
    } statuses[] = {{0, 3}, {2, 0}, {8, 4}, {9, 2}};
    for (const auto& row : statuses)
        if (row.dueState == dueState)
            return row.status;
    return 1;
}

std::optional<DWORD> TaskImportance(NOTEHANDLE note) {
    double importance = importanceDefault;
    StoreReadItemNumber(note, "Importance", &importance);
    if (importance == 1)
        return 2;
    if (importance == 2)
        return 1;
    if (importance == 3)
        return 0;
    return std::nullopt;
}

HRESULT WriteNumber(EngineEvent& event, PropertyId id, DWORD number, const char* logName) {
    const HRESULT hr = SetEventNumber(event, id, number);
    if (FAILED(hr))
        DebugLogPropertyFailure(logName, hr);
    return hr;
}

HRESULT WriteAndSend(NOTEHANDLE note, PassContext& context, WORD occurrences, DATE modified) {
    EngineEvent event(indexTypeTasks);
    HRESULT hr;
    if (FAILED(hr = WriteModifiedTime(event, modified)) ||
        FAILED(hr = WriteBodyContent(note, nullptr, true, event)) ||
        FAILED(hr = WriteDocumentUrl(note, event, propOtherUrl)) ||
        FAILED(hr = WriteSchedule(taskOccurrences, occurrences, true, event)) ||
        FAILED(hr = WriteItemProperty(note, ItemReading::lines, "Subject", propSubject, event,
                                      false)) ||
        FAILED(hr = WriteItemProperty(note, ItemReading::categories, "Categories", propCategories,
                                      event, false)) ||
        FAILED(hr = WriteItemProperty(note, ItemReading::joinedList, "Chair", propOwner, event,
                                      false)) ||
        FAILED(hr = WriteNumber(event, propStatus, TaskStatus(note), "status")) ||
        FAILED(hr = WriteTimeItem(note, "CompletedDateTime", propDateCompleted, event,
                                  "date_completed")))
        return hr;
    if (const auto importance = TaskImportance(note))
        if (FAILED(hr = WriteNumber(event, propImportance, *importance, "importance")))
            return hr;
    if (FAILED(hr = WriteFolder(context.database, event)))
        return hr;
    return SendDocumentEvent(event, context);
}

} // namespace

bool ConvertTask(NOTEHANDLE note, PassContext* context) {
    if (!note)
        return RefuseMissingNote(context);
    const auto modified = TaskIsDated(note) ? NoteModifiedDate(note) : std::nullopt;
    if (!modified)
        return HandOverAsDeleted(note, context);
    // Without start and due the task is still indexed, only without its schedule.
    WORD occurrences = 0;
    if (HasItem(note, "StartDateTime") && HasItem(note, "DueDateTime"))
        occurrences = CollectOccurrences(note, taskOccurrences, occurrenceCapacity, "StartDateTime",
                                         "DueDateTime");
    return Finish(context, WriteAndSend(note, *context, occurrences, *modified));
}

} // namespace tamsel
