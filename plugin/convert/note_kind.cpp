#include "note_kind.h"

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

bool IsIndexedNote(NOTEHANDLE note) {
    const NoteKind kind = ConverterKind(note);
    return kind != NoteKind::none && (kind != NoteKind::mail || IsSortIndexed(SortOfMail(note)));
}

} // namespace tamsel
