// What stops an install step: the text the installer shows (and logs) to the person installing.
#pragma once
#include <string>

namespace setup {

struct SetupError {
    std::wstring message;
};

} // namespace setup
