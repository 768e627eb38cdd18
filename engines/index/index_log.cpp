#include "index_log.h"

#include <shlobj.h>

#include <cstdint>
#include <cwchar>
#include <cwctype>
#include <utility>

namespace engine_index {
namespace {

constexpr wchar_t kLogName[] = L"documents.jsonl";

// One name per index folder, whatever the spelling of its path.
std::uint32_t FolderHash(const std::wstring& folder) {
    std::uint32_t hash = 2166136261u;
    for (wchar_t c : folder) {
        hash ^= static_cast<std::uint32_t>(towlower(c == L'/' ? L'\\' : c));
        hash *= 16777619u;
    }
    return hash;
}

std::wstring SignName(std::uint32_t folderHash, LONG token) {
    wchar_t name[80];
    swprintf(name, 80, L"Local\\ZendriDSIndexWriter-%08X-%08lX", folderHash,
             static_cast<unsigned long>(token));
    return name;
}

// Whether the writer of that token still lives: its life sign goes with its process.
bool WriterLives(std::uint32_t folderHash, LONG token) {
    const win32::UniqueHandle sign(
        OpenEventW(SYNCHRONIZE, FALSE, SignName(folderHash, token).c_str()));
    return sign || GetLastError() != ERROR_FILE_NOT_FOUND;
}

OVERLAPPED At(LONGLONG offset) {
    OVERLAPPED at = {};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return at;
}

win32::UniqueFile OpenShared(const std::wstring& path, DWORD access, DWORD disposition) {
    return win32::UniqueFile(CreateFileW(path.c_str(), access,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
}

} // namespace

IndexLog::IndexLog(std::wstring folder) : folder_(std::move(folder)) {}

std::wstring IndexLog::path() const {
    return folder_ + L"\\" + kLogName;
}

bool IndexLog::Exists() const {
    return GetFileAttributesW(path().c_str()) != INVALID_FILE_ATTRIBUTES;
}

HRESULT IndexLog::Create(bool* created) {
    *created = false;
    const int made = SHCreateDirectoryExW(nullptr, folder_.c_str(), nullptr);
    if (made != ERROR_SUCCESS && made != ERROR_ALREADY_EXISTS && made != ERROR_FILE_EXISTS)
        return HRESULT_FROM_WIN32(made);
    const win32::UniqueFile file = OpenShared(path(), GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS);
    if (!file)
        return HRESULT_FROM_WIN32(GetLastError());
    *created = GetLastError() != ERROR_ALREADY_EXISTS;
    return S_OK;
}

std::wstring IndexLog::TurnSectionName(const std::wstring& folder) {
    wchar_t name[64];
    swprintf(name, 64, L"Local\\ZendriDSIndexTurn-%08X", FolderHash(folder));
    return name;
}

std::wstring IndexLog::WriterSignName(const std::wstring& folder, LONG token) {
    return SignName(FolderHash(folder), token);
}

HRESULT IndexLog::OpenTurns() {
    if (turnsView_)
        return S_OK;
    const std::uint32_t hash = FolderHash(folder_);
    // A new section is all zeros: nobody holds the turn, no token handed out yet.
    win32::UniqueHandle section(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                   sizeof(WriterTurns),
                                                   TurnSectionName(folder_).c_str()));
    if (!section)
        return HRESULT_FROM_WIN32(GetLastError());
    win32::UniqueView view(
        MapViewOfFile(section.get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, sizeof(WriterTurns)));
    if (!view)
        return HRESULT_FROM_WIN32(GetLastError());
    auto* turns = static_cast<WriterTurns*>(view.get());
    // A token no living writer has: its life sign must be new.
    for (;;) {
        LONG token = InterlockedIncrement(&turns->lastToken);
        if (token == 0)
            continue;
        win32::UniqueHandle sign(CreateEventW(nullptr, TRUE, FALSE, SignName(hash, token).c_str()));
        if (!sign)
            return HRESULT_FROM_WIN32(GetLastError());
        if (GetLastError() == ERROR_ALREADY_EXISTS)
            continue;
        token_ = token;
        lifeSign_ = std::move(sign);
        break;
    }
    turnsSection_ = std::move(section);
    turnsView_ = std::move(view);
    return S_OK;
}

void IndexLog::TakeTurn() {
    const std::uint32_t hash = FolderHash(folder_);
    for (unsigned round = 0;; ++round) {
        const LONG holder = turns()->holder;
        if (holder == 0) {
            if (InterlockedCompareExchange(&turns()->holder, token_, 0) == 0)
                return;
            continue;
        }
        // Another writer has it: spin briefly, then yield, then sleep.
        if (round < 64)
            YieldProcessor();
        else if (round < 128)
            SwitchToThread();
        else
            Sleep(1);
        // A writer that died holding the turn may have left a torn record; AppendLine
        // copes. Its turn passes to whoever notices first.
        if (round % 32 == 31 && !WriterLives(hash, holder) &&
            InterlockedCompareExchange(&turns()->holder, token_, holder) == holder)
            return;
    }
}

void IndexLog::GiveTurn() {
    InterlockedCompareExchange(&turns()->holder, 0, token_);
}

HRESULT IndexLog::OpenForAppend() {
    if (append_)
        return S_OK;
    bool created = false;
    if (const HRESULT hr = Create(&created); FAILED(hr))
        return hr;
    if (const HRESULT hr = OpenTurns(); FAILED(hr))
        return hr;
    if (!tail_)
        tail_ = OpenShared(path(), GENERIC_READ, OPEN_EXISTING);
    if (!tail_)
        return HRESULT_FROM_WIN32(GetLastError());
    append_ =
        OpenShared(path(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE, OPEN_EXISTING);
    return append_ ? S_OK : HRESULT_FROM_WIN32(GetLastError());
}

HRESULT IndexLog::AsWriter(const std::function<HRESULT()>& write) {
    std::lock_guard guard(mutex_);
    if (const HRESULT hr = OpenForAppend(); FAILED(hr))
        return hr;
    TakeTurn();
    struct Turn {
        IndexLog* log;
        ~Turn() { log->GiveTurn(); }
    } turn{this};
    return write();
}

HRESULT IndexLog::Append(std::string_view record) {
    return AsWriter([&] { return AppendLine(record); });
}

HRESULT IndexLog::AppendLine(std::string_view record) {
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(append_.get(), &size))
        return HRESULT_FROM_WIN32(GetLastError());
    std::string& line = line_; // kept for the next line: no allocation per record
    line.clear();
    // A record torn by a crash stays an unreadable line of its own instead of swallowing
    // this one. Only a tail that someone else wrote needs looking at.
    if (size.QuadPart > 0 && size.QuadPart != end_) {
        char last = '\n';
        DWORD read = 0;
        OVERLAPPED at = At(size.QuadPart - 1);
        if (ReadFile(tail_.get(), &last, 1, &read, &at) && read == 1 && last != '\n')
            line += '\n';
    }
    line.append(record);
    line += '\n';
    DWORD written = 0;
    const BOOL wrote =
        WriteFile(append_.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    if (!wrote || written != line.size()) {
        end_ = -1;
        // A short write without an error is a volume that filled up mid-record (so Wine
        // reports it): the record is torn, not stored.
        return HRESULT_FROM_WIN32(wrote ? ERROR_DISK_FULL : GetLastError());
    }
    end_ = size.QuadPart + static_cast<long long>(written);
    return S_OK;
}

HRESULT IndexLog::Truncate() {
    return AsWriter([&] {
        const win32::UniqueFile file = OpenShared(path(), GENERIC_WRITE, OPEN_EXISTING);
        if (!file || !SetEndOfFile(file.get()))
            return HRESULT_FROM_WIN32(GetLastError());
        end_ = 0;
        return S_OK;
    });
}

// The moved-from view is empty: its text went with the mapping.
LogView::LogView(LogView&& other) noexcept
    : mapping_(std::move(other.mapping_)), view_(std::move(other.view_)),
      text_(std::exchange(other.text_, {})) {}

LogView& LogView::operator=(LogView&& other) noexcept {
    view_ = std::move(other.view_);
    mapping_ = std::move(other.mapping_);
    text_ = std::exchange(other.text_, {});
    return *this;
}

LogView IndexLog::ReadWholeLines() const {
    LogView view;
    const win32::UniqueFile file = OpenShared(path(), GENERIC_READ, OPEN_EXISTING);
    LARGE_INTEGER size = {};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart == 0)
        return view;
    // Writers only append, so the first size bytes stay as they are while mapped.
    view.mapping_.reset(CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, size.HighPart,
                                           size.LowPart, nullptr));
    if (!view.mapping_)
        return view;
    view.view_.reset(MapViewOfFile(view.mapping_.get(), FILE_MAP_READ, 0, 0,
                                   static_cast<SIZE_T>(size.QuadPart)));
    if (!view.view_)
        return view;
    const char* data = static_cast<const char*>(view.view_.get());
    size_t length = static_cast<size_t>(size.QuadPart);
    while (length > 0 && data[length - 1] != '\n')
        --length;
    view.text_ = std::string_view(data, length);
    return view;
}

} // namespace engine_index
