// Debug lines about the engines' answers; written only while debug logging is on.
#pragma once
#include "catalogue/message_ids.h"

namespace tamsel {

// A catalogue line that takes the result as its one argument (123, 126, ...).
void DebugLogResult(MessageId message, HRESULT result);

} // namespace tamsel
