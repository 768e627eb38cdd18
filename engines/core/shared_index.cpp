#include "shared_index.h"

#include "index_folder.h"

#include <map>
#include <memory>
#include <mutex>

namespace engine_core {

engine_index::IndexLog& CurrentIndexLog() {
    static std::mutex mutex;
    static std::map<std::wstring, std::unique_ptr<engine_index::IndexLog>> logs;
    const std::wstring folder = engine_index::IndexFolder();
    std::lock_guard guard(mutex);
    auto& log = logs[folder];
    if (!log)
        log = std::make_unique<engine_index::IndexLog>(folder);
    return *log;
}

} // namespace engine_core
