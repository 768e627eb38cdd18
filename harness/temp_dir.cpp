#include "temp_dir.h"

#include "unique_resource.h"

#include <windows.h>

#include <atomic>
#include <stdexcept>

namespace testing_support {
namespace {

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA entry;
    // Closed before the folder is removed.
    if (const win32::UniqueFind search(FindFirstFileA((path + "\\*").c_str(), &entry)); search) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string child = path + "\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(search.get(), &entry));
    }
    RemoveDirectoryA(path.c_str());
}

} // namespace

TempDir::TempDir() {
    static std::atomic<unsigned> counter{0};
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    // Process ids come back quickly under Wine, and a killed test leaves its folder behind.
    for (int attempt = 0; attempt < 100; ++attempt) {
        path_ = std::string(base) + "tamsel-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(GetTickCount64() % 1000000) + "-" + std::to_string(counter++);
        if (CreateDirectoryA(path_.c_str(), nullptr))
            return;
    }
    throw std::runtime_error("cannot create " + path_);
}

TempDir::~TempDir() {
    RemoveTree(path_);
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace testing_support
