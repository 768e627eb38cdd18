// Times the client library on a large mail file and prints the figures with their targets.
//   store_bench [--mails N] [--body BYTES] [--runs R] [--dir DIR]
#include "bench_data.h"
#include "ntamsel.h"
#include "store_owners.h"

#include <psapi.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Committed memory of the process (Wine leaves PrivateUsage at 0; PagefileUsage is the same
// figure there and on Windows).
size_t CommittedBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PagefileUsage;
}

void Report(const char* what, const std::vector<double>& runs, double scale, const char* unit,
            const char* target) {
    std::printf("%-38s median %9.3f %s  (min %.3f, max %.3f, %zu runs)  target %s\n", what,
                Median(runs) * scale, unit, *std::min_element(runs.begin(), runs.end()) * scale,
                *std::max_element(runs.begin(), runs.end()) * scale, runs.size(), target);
}

const char* kItems[] = {"Form",        "From",         "Principal",  "SendTo",        "CopyTo",
                        "BlindCopyTo", "ReplyTo",      "Subject",    "Categories",    "Importance",
                        "$MessageID",  "ComposedDate", "PostedDate", "DeliveredDate", "Body"};

// Opens the note and reads its 15 items as a converter does.
void ReadMail(DBHANDLE database, NOTEID id) {
    static char buffer[32768];
    tamsel::UniqueNote note;
    if (StoreOpenNote(database, id, 0, note.put()) != STORE_NOERROR)
        return;
    STORETIME time;
    for (const char* item : kItems)
        if (std::strstr(item, "Date"))
            StoreReadItemTime(note.get(), item, &time);
        else
            StoreReadItemText(note.get(), item, buffer, sizeof buffer);
}

// Seconds to list every document changed since the beginning; the list is freed on return,
// before anything else is timed.
double TimeChangeList(DBHANDLE database, bool print) {
    STORETIME since, until;
    StoreSetTimeConstant(STORE_TIME_EARLIEST, &since);
    tamsel::UniqueIdTable table;
    const auto start = Clock::now();
    StoreGetModifiedNoteTable(database, STORE_NOTECLASS_DOCUMENT, since, &until, table.put());
    const double seconds = Seconds(start);
    if (print)
        std::printf("change list: %lu notes\n",
                    static_cast<unsigned long>(StoreIdTableCount(table.get())));
    return seconds;
}

// Seconds per rendering of the note's body into the file.
double TimeRender(DBHANDLE database, NOTEID id, const std::string& file) {
    tamsel::UniqueNote note;
    StoreOpenNote(database, id, 0, note.put());
    const int renders = 200;
    DWORD size = 0;
    const auto start = Clock::now();
    for (int i = 0; i < renders; ++i)
        StoreMessageBodyToFile(note.get(), nullptr, "\r\n", 0xFFFF, TRUE, file.c_str(), &size);
    return Seconds(start) / renders;
}

} // namespace

int main(int argc, char** argv) {
    int mails = 100000, body = 3 * 1024, runs = 5;
    std::string dir;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--mails")
            mails = std::max(1, std::atoi(argv[i + 1]));
        else if (option == "--body")
            body = std::max(0, std::atoi(argv[i + 1]));
        else if (option == "--runs")
            runs = std::max(1, std::atoi(argv[i + 1]));
        else if (option == "--dir")
            dir = argv[i + 1];
    }
    if (dir.empty()) {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        dir = temp;
    }
    const std::string path = dir + "\\store_bench.zrb";
    auto start = Clock::now();
    const NOTEID bigBody = bench::WriteMailFile(path, mails, body);
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes);
    std::printf("%d mails, bodies of %d bytes: %.1f MB written in %.1f s\n", mails, body,
                attributes.nFileSizeLow / 1e6 + attributes.nFileSizeHigh * 4294.967296,
                Seconds(start));

    std::vector<double> open, memory, changes, reads, render;
    for (int run = 0; run < runs; ++run) {
        tamsel::UniqueDatabase database;
        const size_t before = CommittedBytes();
        start = Clock::now();
        if (StoreOpenDatabase(path.c_str(), database.put()) != STORE_NOERROR) {
            std::fprintf(stderr, "cannot open %s\n", path.c_str());
            return 1;
        }
        open.push_back(Seconds(start));
        memory.push_back(
            static_cast<double>(CommittedBytes() - std::min(before, CommittedBytes())));

        changes.push_back(TimeChangeList(database.get(), run == 0));

        const int samples = 2000;
        start = Clock::now();
        for (int i = 0; i < samples; ++i)
            ReadMail(database.get(), static_cast<NOTEID>(4 + 4 * ((i * 7919) % mails)));
        reads.push_back(Seconds(start) / samples);

        const std::string file = dir + "\\store_bench_body.txt";
        render.push_back(TimeRender(database.get(), bigBody, file));
        DeleteFileA(file.c_str());
    }
    Report("open database", open, 1e3, "ms", "<= 2000 ms");
    Report("memory added by open", memory, 1.0 / (1024 * 1024), "MB", "<= 64 MB");
    Report("change list over all notes", changes, 1e3, "ms", "<= 20 ms");
    Report("open note + read 15 items", reads, 1e6, "us", "<= 50 us");
    Report("render 10 KB body to a file", render, 1e3, "ms", "<= 0.5 ms");
    DeleteFileA(path.c_str());
    return 0;
}
