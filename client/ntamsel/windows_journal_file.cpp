// The journal file on Windows. Writers lock one byte far beyond any data, so that readers'
// ReadFile calls are never blocked by the mandatory range lock; the file is shared for
// deletion so that another program may remove or replace a database the client has open.
#include "journal_file.h"

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

class WindowsJournalFile final : public JournalFile {
  public:
    explicit WindowsJournalFile(win32::UniqueFile handle) : handle_(std::move(handle)) {}

    std::optional<uint64_t> size() override {
        LARGE_INTEGER size;
        if (!GetFileSizeEx(handle_.get(), &size))
            return std::nullopt;
        return static_cast<uint64_t>(size.QuadPart);
    }
    // Seeks and reads at the file pointer: under Wine a ReadFile given an OVERLAPPED offset
    // costs a round trip to the wineserver, which is most of the time of opening a note.
    size_t readAt(uint64_t offset, char* buffer, size_t length) override {
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(offset);
        if (!SetFilePointerEx(handle_.get(), at, nullptr, FILE_BEGIN))
            return 0;
        size_t done = 0;
        while (done < length) {
            DWORD read = 0;
            const DWORD want = static_cast<DWORD>(std::min<size_t>(length - done, 1u << 30));
            if (!ReadFile(handle_.get(), buffer + done, want, &read, nullptr) || read == 0)
                break;
            done += read;
        }
        return done;
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
        if (!SetFilePointerEx(handle_.get(), end, nullptr, FILE_END))
            return false;
        size_t done = 0;
        while (done < bytes.size()) {
            DWORD written = 0;
            if (!WriteFile(handle_.get(), bytes.data() + done,
                           static_cast<DWORD>(bytes.size() - done), &written, nullptr) ||
                written == 0)
                return false;
            done += written;
        }
        return true;
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

} // namespace store
