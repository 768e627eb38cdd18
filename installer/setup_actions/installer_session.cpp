#include "installer_session.h"

#include "setup_error.h"

#include <new>

namespace setup {
namespace {

// The text goes in as a field, not as the record's template, so that brackets in a path are
// not read as the installer's formatting.
void Message(MSIHANDLE install, INSTALLMESSAGE kind, const std::wstring& text) {
    const UniqueMsiHandle record(MsiCreateRecord(1));
    if (!record)
        return;
    MsiRecordSetStringW(record.get(), 0, L"[1]");
    MsiRecordSetStringW(record.get(), 1, text.c_str());
    MsiProcessMessage(install, kind, record.get());
}

} // namespace

std::wstring Property(MSIHANDLE install, const wchar_t* name) {
    DWORD size = 0;
    wchar_t none[1] = L"";
    if (MsiGetPropertyW(install, name, none, &size) != ERROR_MORE_DATA)
        return {};
    std::wstring value(size + 1, L'\0');
    size = DWORD(value.size());
    if (MsiGetPropertyW(install, name, value.data(), &size) != ERROR_SUCCESS)
        return {};
    value.resize(size);
    return value;
}

void SetProperty(MSIHANDLE install, const wchar_t* name, const std::wstring& value) {
    if (MsiSetPropertyW(install, name, value.c_str()) != ERROR_SUCCESS)
        throw SetupError{std::wstring(L"The installer's property ") + name + L" cannot be set."};
}

void Log(MSIHANDLE install, const std::wstring& text) {
    Message(install, INSTALLMESSAGE_INFO, L"TamselSetup: " + text);
}

UINT Guarded(MSIHANDLE install, const std::function<void()>& step) {
    std::wstring failure;
    try {
        step();
        return ERROR_SUCCESS;
    } catch (const SetupError& error) {
        failure = error.message;
    } catch (const std::bad_alloc&) {
        failure = L"Tamsel Desktop Search's setup ran out of memory.";
    } catch (...) {
        failure = L"Tamsel Desktop Search's setup failed unexpectedly.";
    }
    Log(install, failure);
    Message(install, INSTALLMESSAGE(INSTALLMESSAGE_ERROR | MB_OK | MB_ICONERROR), failure);
    return ERROR_INSTALL_FAILURE;
}

} // namespace setup
