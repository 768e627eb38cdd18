#include "program_start.h"

namespace testing_support {
namespace {

StartedProgram NotStarted() {
    StartedProgram none;
    none.error = GetLastError();
    return none;
}

} // namespace

StartedProgram StartProgram(const std::wstring& commandLine, const StartOptions& options) {
    using Output = StartOptions::Output;
    StartedProgram started;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    // What the program writes into; closed here once it has its own copy.
    win32::UniqueHandle written;
    if (options.output == Output::Captured) {
        HANDLE read = nullptr, write = nullptr;
        if (!CreatePipe(&read, &write, &inherit, 0))
            return NotStarted();
        started.output.reset(read);
        written.reset(write);
        SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    } else if (options.output == Output::Discarded) {
        const HANDLE nul = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit,
                                       OPEN_EXISTING, 0, nullptr);
        if (nul == INVALID_HANDLE_VALUE)
            return NotStarted();
        written.reset(nul);
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    const bool redirected = options.output != Output::Inherited;
    if (redirected) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = options.input;
        startup.hStdOutput = startup.hStdError = written.get();
    }
    std::wstring command = commandLine; // CreateProcessW may write into it
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, redirected,
                        options.noWindow ? CREATE_NO_WINDOW : 0, nullptr,
                        options.folder.empty() ? nullptr : options.folder.c_str(), &startup,
                        &process))
        return NotStarted();
    started.process.reset(process.hProcess);
    started.thread.reset(process.hThread);
    return started;
}

DWORD StartedProgram::Wait(DWORD limitMs) const {
    WaitForSingleObject(process.get(), limitMs);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process.get(), &code);
    return code;
}

std::wstring WideFromAnsi(const std::string& text) {
    const int length =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

} // namespace testing_support
