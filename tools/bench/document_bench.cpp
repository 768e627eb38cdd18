// The first pass over every kind of document but mail, end to end: the real client, plug-in
// and engines over the sample's calendar entries (some repeating up to the 100 occurrences a
// converter takes) and tasks, contacts, journal entries and discussion documents whose forms
// compute their titles, N of each (2,000 by default), indexed at full speed. Prints the
// documents per second of the whole pass and of each database, and the client's peak memory.
#include "file_text.h"
#include "first_pass.h"
#include "installed_engines.h"
#include "sample_data.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const int each = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    testing_support::InstalledEngines engines;
    testing_support::TempDir data;
    zrb::SampleCounts counts;
    counts.mails = 0;
    counts.appointments = counts.tasks = counts.contacts = counts.journal = counts.other = each;
    zrb::WriteSampleDirectory(data.path(), counts);
    testing_support::WriteFileText(
        data.file("tamsel.ini"),
        "[Tamsel]\r\nAddInMenus=TamselDesktop.dll\r\nDesktopSearchIndexEnabled=1\r\n"
        "DesktopSearchInstallInstructions=1\r\nDesktopSearchWaitTime=0\r\n"
        "DesktopSearchDebug=1\r\nDesktopSearchFilePath=mail.zrb\r\n"
        "DesktopSearchFilePath1=roster.zrb\r\nDesktopSearchFilePath2=journal.zrb\r\n"
        "DesktopSearchFilePath3=discussion.zrb\r\n");
    const bench::FirstPass pass = bench::RunFirstPass(
        data.path(), {"mail.zrb", "roster.zrb", "journal.zrb", "discussion.zrb"});
    if (!pass.completed) {
        std::fprintf(stderr, "the pass did not complete:\n%s", pass.log.c_str());
        return 1;
    }
    const int total = 5 * each;
    std::printf("First pass over %d documents: %.1f s = %.0f documents/s; client's peak memory "
                "%.1f MB\n",
                total, pass.seconds, total / pass.seconds, pass.peakMemoryMb);
    const int documents[] = {2 * each, each, each, each};
    const char* kinds[] = {"calendar entries and tasks", "contacts", "journal entries",
                           "discussion documents"};
    for (size_t i = 0; i < pass.databases.size(); ++i) {
        const auto& database = pass.databases[i];
        std::printf("  %-15s %5d %-27s %5.1f s = %5.0f /s  (%s)\n", database.file.c_str(),
                    documents[i], kinds[i], database.seconds,
                    documents[i] / std::max(database.seconds, 0.001), database.summary.c_str());
    }
    return 0;
}
