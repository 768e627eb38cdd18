#include "property_log.h"

#include "catalogue/catalogue.h"
#include "ntamsel.h"
#include "settings/client_settings.h"

namespace tamsel {

void LogPropertyFailure(const char* name, HRESULT result) {
    StoreLogMessage(msgLogAddPropertyFailed, ModuleInstance(), 0, name, result);
}

void DebugLogPropertyFailure(const char* name, HRESULT result) {
    if (IsDebugLogging())
        LogPropertyFailure(name, result);
}

} // namespace tamsel
