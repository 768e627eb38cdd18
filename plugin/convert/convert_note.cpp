#include "convert_note.h"

#include "base/hresult_error.h"
#include "catalogue/catalogue.h"
#include "converters.h"
#include "document_steps.h"
#include "note_kind.h"
#include "settings/client_settings.h"

#include <new>

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
        // A document the settings leave out (discussion documents, or every other form) may
        // have been sent while they did not: it must leave the index.
        return HandOverAsDeleted(note, context);
    }
}

// Whatever went wrong inside a converter costs that note alone: the pass counts it as a note
// error and goes on.
bool ConversionFailed(PassContext* context, STORESTATUS status, const char* what) {
    context->engineResult = 0;
    context->noteStatus = status;
    StoreLogMessage(msgLogConversionFailed, ModuleInstance(), status, context->noteId, what);
    return false;
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
    } catch (const std::bad_alloc&) {
        return ConversionFailed(context, STORE_ERR_NO_MEMORY, "out of memory");
    } catch (...) {
        return ConversionFailed(context, STORE_ERR_DAMAGED, com_server::CurrentFailureText());
    }
}

} // namespace tamsel
