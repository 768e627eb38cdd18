#include "convert_note.h"

#include "base/hresult_error.h"
#include "converters.h"
#include "note_kind.h"
#include "settings/client_settings.h"

namespace tamsel {
namespace {

bool Dispatch(NOTEHANDLE note, PassContext* context) {
    switch (ConverterKind(note)) {
    case NoteKind::calendar:
        return ConvertCalendarEntry(note, context);
    case NoteKind::task:
        return ConvertTask(note, context);
    case NoteKind::mail:
        return ConvertMail(note, context);
    case NoteKind::contact:
        return ConvertContact(note, context);
    case NoteKind::journal:
        return ConvertJournalEntry(note, context);
    case NoteKind::other:
        return ConvertOtherDocument(note, context);
    default:
        return false;
    }
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
