#include "settings_file.h"

#include "client_state.h"
#include "settings_text.h"
#include "text_convert.h"

#include "unique_resource.h"
#include "whole_file.h"

#include <windows.h>

namespace ntamsel {
namespace {

const wchar_t* const settingsFileName = L"tamsel.ini";

// Serialises every access to one settings file across processes.
class SettingsLock {
  public:
    explicit SettingsLock(const std::wstring& path) {
        std::wstring name = L"Local\\TamselSettings-";
        for (wchar_t c : path)
            name += (c == L'\\' || c == L'/' || c == L':') ? L'_' : wchar_t(towlower(c));
        if (name.size() > MAX_PATH)
            name.resize(MAX_PATH);
        mutex_.reset(CreateMutexW(nullptr, FALSE, name.c_str()));
        if (mutex_)
            WaitForSingleObject(mutex_.get(), INFINITE);
    }
    ~SettingsLock() {
        if (mutex_)
            ReleaseMutex(mutex_.get());
    }
    SettingsLock(const SettingsLock&) = delete;
    SettingsLock& operator=(const SettingsLock&) = delete;

  private:
    win32::UniqueHandle mutex_;
};

bool ReplaceWholeFile(const std::wstring& path, const std::string& text) {
    const std::wstring temporary = path + L".new" + std::to_wstring(GetCurrentProcessId());
    win32::UniqueFile file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    DWORD written = 0;
    const bool complete =
        WriteFile(file.get(), text.data(), DWORD(text.size()), &written, nullptr) &&
        written == text.size() && FlushFileBuffers(file.get());
    file.reset(); // an open file cannot take the settings file's place
    if (complete && MoveFileExW(temporary.c_str(), path.c_str(),
                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(temporary.c_str());
    return false;
}

} // namespace

std::optional<std::string> ReadSetting(std::string_view name) {
    const std::wstring path = DataFilePath(settingsFileName);
    if (path.empty())
        return std::nullopt;
    SettingsLock lock(path);
    return FindSetting(win32::ReadWholeFile(path.c_str()).value_or(""), name);
}

bool WriteSetting(std::string_view name, std::string_view value) {
    const std::wstring path = DataFilePath(settingsFileName);
    if (path.empty())
        return false;
    SettingsLock lock(path);
    const std::string before = win32::ReadWholeFile(path.c_str()).value_or("");
    const std::string after = WithSetting(before, name, value);
    const bool written = after == before || ReplaceWholeFile(path, after);
    NoteWrite(path, written);
    return written;
}

} // namespace ntamsel
