#include "converters.h"

namespace tamsel {

// Not built yet: takes nothing.
bool ConvertContact(NOTEHANDLE, PassContext* context) {
    context->engineResult = S_OK;
    context->noteStatus = 0;
    return false;
}

} // namespace tamsel
