// The first pass over a large mail file end to end: the real client, plug-in and engines,
// 10,000 mails with bodies of about 3 KB (or the count given), indexed at full speed. Prints
// the messages per second of the pass and the client's peak memory.
// With --keep FOLDER (a Windows path) the mail file is kept there between runs and written
// only when missing or of another count: a million mails take minutes to write.
// With --mbox FILE it only writes the same mails as one mbox (for tools/bench/peer_compare).
#include "bench_data.h"
#include "file_text.h"
#include "first_pass.h"
#include "installed_engines.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// The data directory's mail file of `mails` mails, written unless the last run left it.
void PrepareMailFile(const std::string& folder, int mails) {
    const std::string database = folder + "\\mail.zrb", count = database + ".count";
    if (testing_support::ReadFileText(count) == std::to_string(mails))
        return;
    DeleteFileA(count.c_str());
    bench::WriteMailFile(database, mails, 3000);
    testing_support::WriteFileText(count, std::to_string(mails));
}

} // namespace

int main(int argc, char** argv) {
    int mails = 10000;
    const char* mbox = nullptr;
    const char* keep = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--mbox") == 0 && i + 1 < argc) {
            mbox = argv[++i];
        } else if (std::strcmp(argv[i], "--keep") == 0 && i + 1 < argc) {
            keep = argv[++i];
        } else if (std::atoi(argv[i]) > 0) {
            mails = std::atoi(argv[i]);
        } else {
            std::fprintf(stderr, "usage: mail_bench [MAILS] [--keep FOLDER | --mbox FILE]\n");
            return 2;
        }
    }
    if (mbox) {
        bench::WriteMbox(mbox, mails, 3000);
        return 0;
    }
    testing_support::InstalledEngines engines;
    testing_support::TempDir scratch;
    const std::string folder = keep ? keep : scratch.path();
    if (keep && !CreateDirectoryA(keep, nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        std::fprintf(stderr, "cannot make the folder %s\n", keep);
        return 2;
    }
    PrepareMailFile(folder, mails);
    // A first pass each time: no time stamps, no log of an earlier run.
    DeleteFileA((folder + "\\tamsel.log").c_str());
    testing_support::WriteFileText(
        folder + "\\tamsel.ini",
        "[Tamsel]\r\nAddInMenus=TamselDesktop.dll\r\nDesktopSearchIndexEnabled=1\r\n"
        "DesktopSearchInstallInstructions=1\r\nDesktopSearchWaitTime=0\r\n"
        "DesktopSearchDebug=1\r\nDesktopSearchFilePath=mail.zrb\r\n");
    const bench::FirstPass pass = bench::RunFirstPass(folder, {"mail.zrb"});
    if (!pass.completed) {
        std::fprintf(stderr, "the pass did not complete:\n%s", pass.log.c_str());
        return 1;
    }
    std::printf("First pass over %d mails with 3 KB bodies: %.1f s = %.0f messages/s; client's "
                "peak memory %.1f MB\n",
                mails, pass.seconds, mails / pass.seconds, pass.peakMemoryMb);
    std::printf("%s\n", pass.databases[0].summary.c_str());
    return 0;
}
