#include "program_run.h"

#include "unique_resource.h"

namespace testing_support {

ProgramRun RunProgram(const std::wstring& commandLine) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    ProgramRun run;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return run;
    const win32::UniqueHandle read(readEnd);
    win32::UniqueHandle write(writeEnd);
    SetHandleInformation(read.get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = write.get();
    startup.hStdError = write.get();
    std::wstring command = commandLine;
    PROCESS_INFORMATION process = {};
    const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &process);
    write.reset();
    if (started) {
        const win32::UniqueHandle program(process.hProcess), thread(process.hThread);
        ReadUntilExit(read.get(), program.get(), INFINITE, 1, run.output);
        GetExitCodeProcess(program.get(), &run.exitCode);
    }
    return run;
}

void ReadUntilExit(HANDLE readEnd, HANDLE process, DWORD limitMs, UINT killedExitCode,
                   std::string& output, const std::function<bool()>& killNow) {
    auto drain = [&] {
        DWORD available = 0;
        char chunk[4096];
        while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
            DWORD got = 0;
            if (!ReadFile(readEnd, chunk, sizeof chunk < available ? sizeof chunk : available, &got,
                          nullptr))
                break;
            output.append(chunk, got);
        }
    };
    const DWORD start = GetTickCount();
    while (WaitForSingleObject(process, 20) == WAIT_TIMEOUT) {
        drain();
        if ((limitMs != INFINITE && GetTickCount() - start >= limitMs) || (killNow && killNow())) {
            TerminateProcess(process, killedExitCode);
            WaitForSingleObject(process, INFINITE);
        }
    }
    drain();
}

} // namespace testing_support
