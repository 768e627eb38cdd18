#include "index_log.h"

#include <shlobj.h>

namespace engine_index {
namespace {

constexpr wchar_t kLogName[] = L"documents.jsonl";

struct FileHandle {
    HANDLE handle;
    ~FileHandle() {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    }
};

// Holds the whole-file lock that serialises writers of all processes.
class FileLock {
public:
    explicit FileLock(HANDLE file) : file_(file) {
        OVERLAPPED at = {};
        locked_ = LockFileEx(file_, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &at);
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock() {
        OVERLAPPED at = {};
        if (locked_)
            UnlockFileEx(file_, 0, MAXDWORD, MAXDWORD, &at);
    }
    explicit operator bool() const { return locked_; }

private:
    HANDLE file_;
    BOOL locked_;
};

OVERLAPPED At(LONGLONG offset) {
    OVERLAPPED at = {};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return at;
}

HANDLE OpenShared(const std::wstring& path, DWORD access, DWORD disposition) {
    return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

IndexLog::IndexLog(std::wstring folder) : folder_(std::move(folder)) {}

IndexLog::~IndexLog() {
    if (file_ != INVALID_HANDLE_VALUE)
        CloseHandle(file_);
}

std::wstring IndexLog::path() const { return folder_ + L"\\" + kLogName; }

bool IndexLog::Exists() const {
    return GetFileAttributesW(path().c_str()) != INVALID_FILE_ATTRIBUTES;
}

HRESULT IndexLog::Create(bool* created) {
    *created = false;
    const int made = SHCreateDirectoryExW(nullptr, folder_.c_str(), nullptr);
    if (made != ERROR_SUCCESS && made != ERROR_ALREADY_EXISTS && made != ERROR_FILE_EXISTS)
        return HRESULT_FROM_WIN32(made);
    FileHandle file{OpenShared(path(), GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS)};
    if (file.handle == INVALID_HANDLE_VALUE)
        return HRESULT_FROM_WIN32(GetLastError());
    *created = GetLastError() != ERROR_ALREADY_EXISTS;
    return S_OK;
}

HRESULT IndexLog::OpenForAppend() {
    if (file_ != INVALID_HANDLE_VALUE)
        return S_OK;
    bool created = false;
    if (const HRESULT hr = Create(&created); FAILED(hr))
        return hr;
    file_ = OpenShared(path(), GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS);
    return file_ == INVALID_HANDLE_VALUE ? HRESULT_FROM_WIN32(GetLastError()) : S_OK;
}

HRESULT IndexLog::Append(std::string_view record) {
    std::lock_guard guard(mutex_);
    if (const HRESULT hr = OpenForAppend(); FAILED(hr))
        return hr;
    FileLock lock(file_);
    if (!lock)
        return HRESULT_FROM_WIN32(GetLastError());
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file_, &size))
        return HRESULT_FROM_WIN32(GetLastError());
    std::string line;
    line.reserve(record.size() + 2);
    // A record torn by a crash stays an unreadable line of its own instead of
    // swallowing this one.
    if (size.QuadPart > 0) {
        char last = '\n';
        DWORD read = 0;
        OVERLAPPED at = At(size.QuadPart - 1);
        if (ReadFile(file_, &last, 1, &read, &at) && read == 1 && last != '\n')
            line += '\n';
    }
    line.append(record);
    line += '\n';
    OVERLAPPED at = At(size.QuadPart);
    DWORD written = 0;
    if (!WriteFile(file_, line.data(), static_cast<DWORD>(line.size()), &written, &at) ||
        written != line.size())
        return HRESULT_FROM_WIN32(GetLastError());
    return S_OK;
}

HRESULT IndexLog::Truncate() {
    std::lock_guard guard(mutex_);
    if (const HRESULT hr = OpenForAppend(); FAILED(hr))
        return hr;
    FileLock lock(file_);
    if (!lock)
        return HRESULT_FROM_WIN32(GetLastError());
    LARGE_INTEGER start = {};
    if (!SetFilePointerEx(file_, start, nullptr, FILE_BEGIN) || !SetEndOfFile(file_))
        return HRESULT_FROM_WIN32(GetLastError());
    return S_OK;
}

std::string IndexLog::ReadWholeLines() const {
    FileHandle file{OpenShared(path(), GENERIC_READ, OPEN_EXISTING)};
    if (file.handle == INVALID_HANDLE_VALUE)
        return {};
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file.handle, &size))
        return {};
    std::string text(static_cast<size_t>(size.QuadPart), '\0');
    size_t filled = 0;
    while (filled < text.size()) {
        DWORD read = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(text.size() - filled, 1 << 24));
        if (!ReadFile(file.handle, text.data() + filled, chunk, &read, nullptr) || read == 0)
            break;
        filled += read;
    }
    text.resize(filled);
    text.resize(text.rfind('\n') == std::string::npos ? 0 : text.rfind('\n') + 1);
    return text;
}

} // namespace engine_index
