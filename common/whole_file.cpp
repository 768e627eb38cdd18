#include "whole_file.h"

#include "unique_resource.h"

namespace win32 {
namespace {

constexpr DWORD shareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::optional<std::string> ReadToEnd(const UniqueFile& file) {
    if (!file)
        return std::nullopt;
    std::string text;
    char block[16384];
    for (DWORD got; ReadFile(file.get(), block, sizeof block, &got, nullptr) && got > 0;)
        text.append(block, got);
    return text;
}

} // namespace

std::optional<std::string> ReadWholeFile(const char* path, DWORD flags) {
    return ReadToEnd(UniqueFile(
        CreateFileA(path, GENERIC_READ, shareAll, nullptr, OPEN_EXISTING, flags, nullptr)));
}

std::optional<std::string> ReadWholeFile(const wchar_t* path, DWORD flags) {
    return ReadToEnd(UniqueFile(
        CreateFileW(path, GENERIC_READ, shareAll, nullptr, OPEN_EXISTING, flags, nullptr)));
}

} // namespace win32
