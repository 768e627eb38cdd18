// The scratch directory of harness/temp_dir.h, for the native build of the store tests.
#include "temp_dir.h"

#include <filesystem>
#include <stdexcept>

#include <cstdlib>

namespace testing_support {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tamsel-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create " + pattern);
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

bool FileExists(const std::string& path) {
    return std::filesystem::exists(path);
}

} // namespace testing_support
