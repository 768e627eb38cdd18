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
    write.reset(); // the child's copy alone keeps the pipe open: reading ends when it exits
    if (started) {
        const win32::UniqueHandle program(process.hProcess), thread(process.hThread);
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(read.get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
            run.output.append(buffer, got);
        WaitForSingleObject(program.get(), 60000);
        GetExitCodeProcess(program.get(), &run.exitCode);
    }
    return run;
}

} // namespace testing_support
