// The database pass: how fast it walks a large change list, and how soon TamselDesktopTerm
// returns while the indexing thread walks or throttles. The plug-in's code runs in this
// process against a generated mail file of 100,000 notes and the installed engines.
#include "bench_data.h"
#include "catalogue/catalogue.h"
#include "file_text.h"
#include "host/exports.h"
#include "indexing/database_pass.h"
#include "indexing/indexing_loop.h"
#include "indexing/note_callback.h"
#include "installed_engines.h"
#include "ntamsel.h"
#include "settings/client_settings.h"
#include "settings/database_list.h"
#include "temp_dir.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int notes = 100000;

double Milliseconds(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

// Rates are best high, latencies low.
void PrintFigures(const char* what, std::vector<double> values, const char* unit,
                  bool higherIsBetter, const char* note = "") {
    std::sort(values.begin(), values.end());
    if (higherIsBetter)
        std::reverse(values.begin(), values.end());
    std::printf("%s, %zu runs: median %.1f %s, best %.1f, worst %.1f%s\n", what, values.size(),
                values[values.size() / 2], unit, values.front(), values.back(), note);
}

bool TakeNothing(NOTEHANDLE, tamsel::PassContext*) {
    return false;
}
bool SendNothing(DBHANDLE, NOTEID, tamsel::PassContext*) {
    return false;
}
// Counts as sent, so that the throttle applies after every note.
bool TakeEverything(NOTEHANDLE, tamsel::PassContext*) {
    return true;
}

void UseSettings(const std::string& data, const std::string& lines) {
    const std::string file = data + "\\tamsel.ini";
    testing_support::WriteFileText(file, "[Tamsel]\r\nDesktopSearchIndexEnabled=1\r\n"
                                         "DesktopSearchFilePath=mail.zrb\r\n" +
                                             lines);
    tamsel::LoadSettings();
}

void WalkThroughput(const std::string& data) {
    tamsel::noteHandlers = {TakeNothing, SendNothing};
    UseSettings(data, "DesktopSearchWaitTime=0\r\n");
    std::vector<double> rates;
    for (int run = 0; run < 5; ++run) {
        tamsel::SaveSlotState(0, nullptr, nullptr, 0, 0, 0);
        const auto start = Clock::now();
        tamsel::PassOverSlot(0, 0);
        rates.push_back(notes / (Milliseconds(start) / 1000.0));
    }
    PrintFigures("Pass over 100,000 notes with wait time 0 and nothing converted", rates, "notes/s",
                 true);
}

// The stop call at a random moment between `earliest` and `latest` ms after the pass began;
// only stops that interrupted the pass (it left a recovery point) count.
void StopLatency(const std::string& data, const char* what, const std::string& settings,
                 DWORD earliest, DWORD latest) {
    tamsel::noteHandlers = {TakeEverything, SendNothing};
    std::mt19937 random(12345);
    std::vector<double> latencies;
    constexpr int runs = 20;
    for (int run = 0; run < runs; ++run) {
        UseSettings(data, settings);
        tamsel::SaveSlotState(0, nullptr, nullptr, 0, 0, 0);
        TamselDesktopIndex();
        tamsel::WakeIndexer();
        Sleep(earliest + random() % (latest - earliest));
        const auto start = Clock::now();
        TamselDesktopTerm();
        const double latency = Milliseconds(start);
        STORETIME until;
        NOTEID resumeAt = 0;
        if (tamsel::GetResumePoint(0, &until, &resumeAt))
            latencies.push_back(latency);
    }
    if (latencies.empty()) {
        std::printf("%s: no stop came while the pass ran\n", what);
        return;
    }
    char note[64];
    std::snprintf(note, sizeof note, " (%zu of %d stops came mid-pass)", latencies.size(), runs);
    PrintFigures(what, latencies, "ms", false, note);
}

} // namespace

// "walk" measures only the walking speed.
int main(int argc, char** argv) {
    const bool walkOnly = argc > 1 && std::string(argv[1]) == "walk";
    testing_support::InstalledEngines engines;
    testing_support::TempDir data;
    if (StoreClientInit(data.path().c_str(), 0) != STORE_NOERROR) {
        std::fprintf(stderr, "cannot use %s\n", data.path().c_str());
        return 1;
    }
    tamsel::InitCatalogue(GetModuleHandleW(nullptr));
    bench::WriteMailFile(data.file("mail.zrb"), notes, 200);
    WalkThroughput(data.path());
    if (walkOnly)
        return StoreClientInit(nullptr, 0);
    // The walk takes about a second and a half.
    StopLatency(data.path(), "TamselDesktopTerm while walking (wait time 0)",
                "DesktopSearchWaitTime=0\r\n", 300, 1000);
    StopLatency(data.path(), "TamselDesktopTerm while throttling (wait time 20)",
                "DesktopSearchWaitTime=20\r\n", 1500, 3000);
    StoreClientInit(nullptr, 0);
    return 0;
}
