// Reads a component description: VT_ARRAY|VT_VARIANT, one dimension, lower bound 0,
// holding name, value, name, value ...
#pragma once
#include "components.h"

#include <oaidl.h>

#include <optional>

namespace engine_core {

// Nothing when the VARIANT is not such an array, has an odd count or a name that is not text.
std::optional<Description> ReadDescription(const VARIANT& description);

} // namespace engine_core
