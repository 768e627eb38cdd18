// The journal and scratch files on Windows. Writers lock one byte far beyond any data, so that
// readers' ReadFile calls are never blocked by the mandatory range lock; the file is shared for
// deletion so that another program may remove or replace a database the client has open.
#include "journal_file.h"
#include "scratch_file.h"

#include "unique_resource.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace store {
namespace {

constexpr DWORD kLockOffsetHigh = 0x40000000;

std::wstring WidePath(const std::string& path) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide.data(), length);
    wide.resize(static_cast<size_t>(length) - 1);
    return wide;
}

// Seeks and reads at the file pointer: under Wine a ReadFile given an OVERLAPPED offset costs a
// round trip to the wineserver, which is most of the time of opening a note. Short only at the
// end of the file or on an error.
size_t ReadAt(HANDLE file, uint64_t offset, char* buffer, size_t length) {
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN))
        return 0;
    size_t done = 0;
    while (done < length) {
        DWORD read = 0;
        const DWORD want = static_cast<DWORD>(std::min<size_t>(length - done, 1u << 30));
        if (!ReadFile(file, buffer + done, want, &read, nullptr) || read == 0)
            break;
        done += read;
    }
    return done;
}

// Writes at the file pointer, every byte or false.
bool WriteAll(HANDLE file, const char* bytes, size_t length) {
    size_t done = 0;
    while (done < length) {
        DWORD written = 0;
        const DWORD want = static_cast<DWORD>(std::min<size_t>(length - done, 1u << 30));
        if (!WriteFile(file, bytes + done, want, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

class WindowsJournalFile final : public JournalFile {
  public:
    explicit WindowsJournalFile(win32::UniqueFile handle) : handle_(std::move(handle)) {}

    std::optional<uint64_t> size() override {
        LARGE_INTEGER size;
        if (!GetFileSizeEx(handle_.get(), &size))
            return std::nullopt;
        return static_cast<uint64_t>(size.QuadPart);
    }
    size_t readAt(uint64_t offset, char* buffer, size_t length) override {
        return ReadAt(handle_.get(), offset, buffer, length);
    }
    bool lock() override {
        OVERLAPPED at{};
        at.OffsetHigh = kLockOffsetHigh;
        return LockFileEx(handle_.get(), LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at) != FALSE;
    }
    void unlock() override {
        OVERLAPPED at{};
        at.OffsetHigh = kLockOffsetHigh;
        UnlockFileEx(handle_.get(), 0, 1, 0, &at);
    }
    bool append(std::string_view bytes) override {
        LARGE_INTEGER end{};
        return SetFilePointerEx(handle_.get(), end, nullptr, FILE_END) &&
               WriteAll(handle_.get(), bytes.data(), bytes.size());
    }

  private:
    win32::UniqueFile handle_;
};

class WindowsScratchFile final : public ScratchFile {
  public:
    explicit WindowsScratchFile(win32::UniqueFile handle) : handle_(std::move(handle)) {}

    bool writeAt(uint64_t offset, const char* bytes, size_t length) override {
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(offset);
        return SetFilePointerEx(handle_.get(), at, nullptr, FILE_BEGIN) &&
               WriteAll(handle_.get(), bytes, length);
    }
    bool readAt(uint64_t offset, char* buffer, size_t length) override {
        return ReadAt(handle_.get(), offset, buffer, length) == length;
    }

  private:
    win32::UniqueFile handle_;
};

} // namespace

std::unique_ptr<JournalFile> OpenJournalFile(const std::string& path, OpenMode mode) {
    const std::wstring wide = WidePath(path);
    if (wide.empty())
        return nullptr;
    const DWORD access = mode == OpenMode::ReadOnly ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    const DWORD disposition = mode == OpenMode::CreateNew ? CREATE_NEW : OPEN_EXISTING;
    win32::UniqueFile handle(CreateFileW(wide.c_str(), access,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle)
        return nullptr;
    return std::make_unique<WindowsJournalFile>(std::move(handle));
}

// In the user's temporary folder, unshared, and deleted by the system when closed, even when
// the process ends without closing it.
std::unique_ptr<ScratchFile> OpenScratchFile() {
    wchar_t folder[MAX_PATH + 1], path[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH || !GetTempFileNameW(folder, L"zrb", 0, path))
        return nullptr;
    win32::UniqueFile handle(
        CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (!handle) {
        DeleteFileW(path);
        return nullptr;
    }
    return std::make_unique<WindowsScratchFile>(std::move(handle));
}

} // namespace store
