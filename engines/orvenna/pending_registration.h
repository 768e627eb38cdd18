// A registration between BeginRegistration and CompleteRegistration: the registration
// objects add to it, and only CompleteRegistration makes it known.
#pragma once
#include "core/components.h"

#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace orvenna {

struct PendingRegistration {
    std::mutex mutex;
    std::wstring component;
    engine_core::Description description;
    std::vector<std::pair<std::wstring, std::wstring>> actions; // action id, actions class id
    bool indexing = false;
    std::optional<long> queryCookie;
};

// Writes Components\{id} with the description values, "Indexing" and "QueryCookie"
// (REG_DWORD) and a subkey "Actions" whose values name each action's handler class.
HRESULT CommitRegistration(PendingRegistration& registration);

} // namespace orvenna
