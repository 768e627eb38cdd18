#include "failure_log.h"

#include "catalogue.h"
#include "ntamsel.h"

namespace tamsel {

void LogUnexpectedFailure(const char* what) noexcept {
    StoreLogMessage(msgLogUnexpectedFailure, ModuleInstance(), 0, what ? what : "");
}

} // namespace tamsel
