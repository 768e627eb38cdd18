// A registry key whose values are read again only after it changed: one cheap query of
// its last write time per use instead of opening it and reading every value. The key is
// made when missing, and opened anew when another process deleted it.
#pragma once
#include "registry_key.h"

#include <optional>
#include <string>

namespace engine_support {

class WatchedKey {
public:
    WatchedKey(HKEY root, std::wstring path) : root_(root), path_(std::move(path)) {}

    // True on the first call and whenever the key may hold other values than at the last
    // call that answered true.
    bool Changed();
    const RegistryKey& key() const { return key_; }

private:
    HKEY root_;
    std::wstring path_;
    RegistryKey key_;
    std::optional<std::uint64_t> seen_;
};

} // namespace engine_support
