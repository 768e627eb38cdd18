#include "program_run.h"

#include "program_start.h"

namespace testing_support {

ProgramRun RunProgram(const std::wstring& commandLine) {
    ProgramRun run;
    StartOptions options;
    options.output = StartOptions::Output::Captured;
    const StartedProgram program = StartProgram(commandLine, options);
    if (program) {
        ReadUntilExit(program.output.get(), program.process.get(), INFINITE, 1, run.output);
        run.exitCode = program.Wait();
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
