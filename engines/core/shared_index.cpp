#include "shared_index.h"

#include "index/index_folder.h"
#include "support/key_watch.h"

#include <map>
#include <memory>
#include <mutex>

namespace engine_core {

engine_index::IndexLog& CurrentIndexLog() {
    static std::mutex mutex;
    static std::map<std::wstring, std::unique_ptr<engine_index::IndexLog>> logs;
    static std::uint64_t seen = 0;
    static std::wstring folder;
    static auto& watch = engine_support::KeyWatch::OfCurrentUser(engine_index::kEngineKey);
    std::lock_guard guard(mutex);
    if (const std::uint64_t generation = watch.Generation(); generation != seen) {
        folder = engine_index::IndexFolder();
        seen = generation;
    }
    auto& log = logs[folder];
    if (!log)
        log = std::make_unique<engine_index::IndexLog>(folder);
    return *log;
}

} // namespace engine_core
