#include "note_kind.h"

#include "engine_date.h"
#include "item_text.h"
#include "occurrences.h"
#include "settings/client_settings.h"
#include "settings/index_type_mask.h"

namespace tamsel {

NoteKind ConverterKind(NOTEHANDLE note) {
    auto enabled = [](DWORD bits, NoteKind kind) {
        return IsIndexTypeEnabled(bits) ? kind : NoteKind::none;
    };
    if (IsCalendarEntry(note))
        return enabled(indexTypeCalendar, NoteKind::calendar);
    if (IsTask(note))
        return enabled(indexTypeTasks, NoteKind::task);
    if (IsMailDocument(note))
        return NoteKind::mail;
    if (IsContact(note))
        return enabled(indexTypeContacts, NoteKind::contact);
    if (IsJournalEntry(note))
        return enabled(indexTypeJournal, NoteKind::journal);
    if (GetIndexDiscussion() && IsDiscussionDocument(note))
        return NoteKind::none;
    return GetIndexAllForms() ? enabled(indexTypeOther, NoteKind::other) : NoteKind::none;
}

bool IsSortIndexed(MailSort sort) {
    switch (sort) {
    case MailSort::transcript:
        return GetIndexChats();
    case MailSort::draft:
        return GetIndexDrafts();
    default:
        return true;
    }
}

std::optional<DATE> MailTime(NOTEHANDLE note, MailSort sort) {
    STORETIME posted;
    if (sort == MailSort::posted &&
        StoreGetMailItemTime(note, STORE_MAIL_POSTEDDATE, &posted) == STORE_NOERROR)
        if (const auto date = ToEngineDate(posted))
            return date;
    return NoteModifiedDate(note);
}

WORD CalendarEntryOccurrences(NOTEHANDLE note) {
    if (!HasItem(note, "CalendarDateTime") || !HasItem(note, "StartDateTime") ||
        !HasItem(note, "EndDateTime"))
        return 0;
    return CollectOccurrences(note, calendarOccurrences, occurrenceCapacity, "StartDateTime",
                              "EndDateTime");
}

bool TaskIsDated(NOTEHANDLE note) {
    return HasItem(note, "CalendarDateTime");
}

bool IsIndexedNote(NOTEHANDLE note) {
    switch (ConverterKind(note)) {
    case NoteKind::none:
        return false;
    case NoteKind::mail: {
        const MailSort sort = SortOfMail(note);
        return IsSortIndexed(sort) && MailTime(note, sort).has_value();
    }
    case NoteKind::calendar:
        return CalendarEntryOccurrences(note) > 0 && NoteModifiedDate(note).has_value();
    case NoteKind::task:
        return TaskIsDated(note) && NoteModifiedDate(note).has_value();
    default:
        return NoteModifiedDate(note).has_value();
    }
}

} // namespace tamsel
