#include "engine_log.h"

#include "catalogue/catalogue.h"
#include "ntamsel.h"
#include "settings/client_settings.h"

namespace tamsel {

void DebugLogResult(MessageId message, HRESULT result) {
    if (IsDebugLogging())
        StoreLogMessage(message, ModuleInstance(), 0, result);
}

} // namespace tamsel
