// The plug-in raises and returns COM result codes as its COM servers' common code does.
#pragma once
#include "com_result.h"

namespace tamsel {

using com_server::HResultError;

} // namespace tamsel
