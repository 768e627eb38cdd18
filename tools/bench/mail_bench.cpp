// The first pass over a large mail file end to end: the real client, plug-in and engines,
// 10,000 mails with bodies of about 3 KB (or the count given), indexed at full speed. Prints
// the messages per second of the pass and the client's peak memory.
// With --mbox FILE it only writes the same mails as one mbox (for tools/bench/peer_compare).
#include "bench_data.h"
#include "file_text.h"
#include "first_pass.h"
#include "installed_engines.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    int mails = 10000;
    const char* mbox = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--mbox") == 0 && i + 1 < argc) {
            mbox = argv[++i];
        } else if (std::atoi(argv[i]) > 0) {
            mails = std::atoi(argv[i]);
        } else {
            std::fprintf(stderr, "usage: mail_bench [MAILS] [--mbox FILE]\n");
            return 2;
        }
    }
    if (mbox) {
        bench::WriteMbox(mbox, mails, 3000);
        return 0;
    }
    testing_support::InstalledEngines engines;
    testing_support::TempDir data;
    bench::WriteMailFile(data.file("mail.zrb"), mails, 3000);
    testing_support::WriteFileText(
        data.file("tamsel.ini"),
        "[Tamsel]\r\nAddInMenus=TamselDesktop.dll\r\nDesktopSearchIndexEnabled=1\r\n"
        "DesktopSearchInstallInstructions=1\r\nDesktopSearchWaitTime=0\r\n"
        "DesktopSearchDebug=1\r\nDesktopSearchFilePath=mail.zrb\r\n");
    const bench::FirstPass pass = bench::RunFirstPass(data, {"mail.zrb"});
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
