#include "shared_index.h"

#include "index_folder.h"
#include "watched_key.h"

#include <map>
#include <memory>
#include <mutex>

namespace engine_core {

engine_index::IndexLog& CurrentIndexLog() {
    static std::mutex mutex;
    static std::map<std::wstring, std::unique_ptr<engine_index::IndexLog>> logs;
    static engine_support::WatchedKey engineKey(HKEY_CURRENT_USER, engine_index::kEngineKey);
    static std::wstring folder;
    std::lock_guard guard(mutex);
    if (engineKey.Changed())
        folder = engine_index::IndexFolder();
    auto& log = logs[folder];
    if (!log)
        log = std::make_unique<engine_index::IndexLog>(folder);
    return *log;
}

} // namespace engine_core
