// The document kinds whose converters are not built yet: each takes nothing, with neither an
// engine result nor a client status to report. A converter that is built gets a file of its own.
#include "converters.h"

namespace tamsel {
namespace {

bool TakeNothing(PassContext* context) {
    context->engineResult = S_OK;
    context->noteStatus = 0;
    return false;
}

} // namespace

bool ConvertCalendarEntry(NOTEHANDLE, PassContext* context) {
    return TakeNothing(context);
}
bool ConvertTask(NOTEHANDLE, PassContext* context) {
    return TakeNothing(context);
}
bool ConvertContact(NOTEHANDLE, PassContext* context) {
    return TakeNothing(context);
}
bool ConvertJournalEntry(NOTEHANDLE, PassContext* context) {
    return TakeNothing(context);
}
bool ConvertOtherDocument(NOTEHANDLE, PassContext* context) {
    return TakeNothing(context);
}

} // namespace tamsel
