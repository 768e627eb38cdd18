#include "file_text.h"
#include "temp_dir.h"
#include "unique_resource.h"
#include "whole_file.h"

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;
using testing_support::TempDir;

TEST(WholeFile, EveryByteComesBackUnchanged) {
    TempDir dir;
    const std::string path = dir.file("bytes.bin");
    const std::string cases[] = {
        "",
        "before\x1A"
        "after\r\nzero\0end"s,            // a read in text mode would stop or change them
        std::string(40000, 'x') + "tail", // more than one read
    };
    for (const std::string& bytes : cases) {
        testing_support::WriteFileText(path, bytes);
        EXPECT_EQ(win32::ReadWholeFile(path.c_str()), bytes) << bytes.size() << " bytes";
    }
}

TEST(WholeFile, AMissingFileIsNothingRatherThanEmpty) {
    TempDir dir;
    EXPECT_FALSE(win32::ReadWholeFile(dir.file("missing.txt").c_str()));
    EXPECT_FALSE(win32::ReadWholeFile(L"C:\\no such folder\\missing.txt"));
}

TEST(WholeFile, AFileAnotherProgramHoldsForWritingIsStillRead) {
    TempDir dir;
    const std::string path = dir.file("held.txt");
    testing_support::WriteFileText(path, "held");
    const win32::UniqueFile holder(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                               nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    EXPECT_EQ(win32::ReadWholeFile(path.c_str()), "held");
}

TEST(WholeFile, DeleteOnCloseRemovesTheFileOnceRead) {
    TempDir dir;
    const std::string path = dir.file("once.txt");
    testing_support::WriteFileText(path, "once");
    EXPECT_EQ(win32::ReadWholeFile(path.c_str(), FILE_FLAG_DELETE_ON_CLOSE), "once");
    EXPECT_FALSE(testing_support::FileExists(path));
}

} // namespace
