// Starting programs: what a failed start leaves open, and what a started program sees and
// writes. cmd.exe stands in for the programs the tests and the benchmarks start.
#include "file_text.h"
#include "program_run.h"
#include "program_start.h"
#include "temp_dir.h"
#include "unique_resource.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

using testing_support::StartOptions;
using testing_support::StartProgram;
using testing_support::TempDir;

// The values the next handles opened get. A handle left open takes one of them, and the next
// ones differ (Wine counts no handles: GetProcessHandleCount says 0).
std::set<HANDLE> NextHandleValues() {
    std::vector<win32::UniqueHandle> probes;
    std::set<HANDLE> values;
    for (int i = 0; i < 64; ++i) {
        probes.emplace_back(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        values.insert(probes.back().get());
    }
    return values;
}

// Larger than any pipe buffer: a program writing it into a pipe that nobody reads waits.
std::string LongText() {
    std::string text;
    while (text.size() < 1024 * 1024)
        text += std::string(78, char('a' + text.size() % 26)) + "\r\n";
    return text;
}

// cmd.exe writing the file to its standard output.
std::wstring TypeCommand(const std::string& path) {
    return L"cmd.exe /c type \"" + testing_support::WideFromAnsi(path) + L"\"";
}

void StartMissingProgram(StartOptions::Output output) {
    StartOptions options;
    options.output = output;
    const auto program = StartProgram(L"tamsel-no-such-program.exe", options);
    EXPECT_FALSE(program);
    EXPECT_FALSE(program.thread);
    EXPECT_FALSE(program.output) << "a pipe for a program that never ran";
    EXPECT_EQ(program.error, DWORD(ERROR_FILE_NOT_FOUND));
}

TEST(StartProgram, AMissingProgramFailsAndLeavesNothingOpen) {
    const auto outputs = {StartOptions::Output::Inherited, StartOptions::Output::Captured,
                          StartOptions::Output::Discarded};
    // The first attempts may leave what the system keeps for later ones.
    for (const auto output : outputs)
        StartMissingProgram(output);
    const std::set<HANDLE> before = NextHandleValues();
    {
        const win32::UniqueHandle held(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        ASSERT_NE(NextHandleValues(), before) << "the probe sees a handle held";
    }
    ASSERT_EQ(NextHandleValues(), before);
    for (int attempt = 0; attempt < 10; ++attempt)
        for (const auto output : outputs)
            StartMissingProgram(output);
    EXPECT_EQ(NextHandleValues(), before);
}

TEST(StartProgram, CapturedOutputLongerThanAPipeBufferIsReadWhole) {
    TempDir dir;
    const std::string text = LongText();
    testing_support::WriteFileText(dir.file("long.txt"), text);
    const auto run = testing_support::RunProgram(TypeCommand(dir.file("long.txt")));
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.output.size(), text.size());
    EXPECT_TRUE(run.output == text) << "the output differs from the file";
}

TEST(StartProgram, DiscardedOutputDoesNotHoldTheProgramUp) {
    TempDir dir;
    testing_support::WriteFileText(dir.file("long.txt"), LongText());
    StartOptions options;
    options.output = StartOptions::Output::Discarded;
    const auto program = StartProgram(TypeCommand(dir.file("long.txt")), options);
    ASSERT_TRUE(program) << program.error;
    EXPECT_FALSE(program.output);
    EXPECT_EQ(program.Wait(60000), 0u) << "still writing after a minute";
}

TEST(StartProgram, TheProgramRunsInTheFolderAsked) {
    TempDir dir;
    StartOptions options;
    options.output = StartOptions::Output::Captured;
    options.folder = testing_support::WideFromAnsi(dir.path());
    const auto program = StartProgram(L"cmd.exe /c cd", options);
    ASSERT_TRUE(program) << program.error;
    std::string output;
    testing_support::ReadUntilExit(program.output.get(), program.process.get(), 60000, 1, output);
    EXPECT_EQ(output, dir.path() + "\r\n");
}

TEST(StartProgram, TheProgramReadsTheInputGivenAndWaitSaysWhileItRuns) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    ASSERT_TRUE(CreatePipe(&read, &write, &inherit, 0));
    win32::UniqueHandle readEnd(read), writeEnd(write);
    SetHandleInformation(write, HANDLE_FLAG_INHERIT, 0);
    StartOptions options;
    options.output = StartOptions::Output::Captured;
    options.input = readEnd.get();
    // find reads its input to the end, printing the lines that hold the word.
    const auto program = StartProgram(L"find.exe \"tamsel\"", options);
    readEnd.reset();
    ASSERT_TRUE(program) << program.error;
    EXPECT_EQ(program.Wait(500), DWORD(STILL_ACTIVE)) << "ended before its input did";
    DWORD written = 0;
    const std::string input = "tamsel line\r\nother\r\n";
    ASSERT_TRUE(WriteFile(writeEnd.get(), input.data(), DWORD(input.size()), &written, nullptr));
    writeEnd.reset();
    std::string output;
    testing_support::ReadUntilExit(program.output.get(), program.process.get(), 60000, 1, output);
    EXPECT_EQ(output, "tamsel line\r\n");
    EXPECT_EQ(program.Wait(), 0u);
}

} // namespace
