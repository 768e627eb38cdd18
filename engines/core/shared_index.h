// The index log of the folder configured now, kept open for the life of the process.
#pragma once
#include "index/index_log.h"

namespace engine_core {

engine_index::IndexLog& CurrentIndexLog();

} // namespace engine_core
