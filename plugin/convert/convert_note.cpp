#include "convert_note.h"

#include "base/hresult_error.h"
#include "converters.h"
#include "form_tests.h"
#include "settings/client_settings.h"
#include "settings/index_type_mask.h"

namespace tamsel {
namespace {

bool Dispatch(NOTEHANDLE note, PassContext* context) {
    // The first test that matches decides; a disabled kind is not tried against the others.
    if (IsCalendarEntry(note))
        return IsIndexTypeEnabled(indexTypeCalendar) && ConvertCalendarEntry(note, context);
    if (IsTask(note))
        return IsIndexTypeEnabled(indexTypeTasks) && ConvertTask(note, context);
    if (IsMailDocument(note))
        return ConvertMail(note, context);
    if (IsContact(note))
        return IsIndexTypeEnabled(indexTypeContacts) && ConvertContact(note, context);
    if (IsJournalEntry(note))
        return IsIndexTypeEnabled(indexTypeJournal) && ConvertJournalEntry(note, context);
    if (GetIndexDiscussion() && IsDiscussionDocument(note))
        return false;
    return GetIndexAllForms() && IsIndexTypeEnabled(indexTypeOther) &&
           ConvertOtherDocument(note, context);
}

} // namespace

bool ConvertNote(NOTEHANDLE note, PassContext* context) {
    BOOL isSigned = FALSE, isSealed = FALSE;
    if (GetIndexEncrypted() && StoreIsSignedOrSealed(note, &isSigned, &isSealed)) {
        // Whatever cannot be decrypted is simply not read.
        void* key = nullptr;
        StoreDecryptNote(note, 0, &key);
    }
    if (context->historyPass)
        return false;
    try {
        return Dispatch(note, context);
    } catch (const HResultError& error) {
        context->engineResult = error.code;
        context->noteStatus = 0;
        return false;
    }
}

} // namespace tamsel
