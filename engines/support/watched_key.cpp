#include "watched_key.h"

namespace engine_support {

bool WatchedKey::Changed() {
    std::optional<std::uint64_t> stamp = key_ ? key_.LastWriteTime() : std::nullopt;
    if (!stamp) {
        key_ = RegistryKey::Create(root_, path_);
        stamp = key_ ? key_.LastWriteTime() : std::nullopt;
    }
    if (stamp && stamp == seen_)
        return false;
    seen_ = stamp;
    return true;
}

} // namespace engine_support
