// The database pass: how fast it walks a large change list, and how soon TamselDesktopTerm
// returns while the indexing thread walks or throttles. The plug-in's code runs in this
// process against a generated mail file of 100,000 notes and the installed engines.
#include "bench_data.h"
#include "host/exports.h"
#include "host/host_state.h"
#include "indexing/database_pass.h"
#include "indexing/indexing_loop.h"
#include "indexing/note_callback.h"
#include "installed_engines.h"
#include "ntamsel.h"
#include "settings/client_settings.h"
#include "settings/database_list.h"
#include "temp_dir.h"
#include "ui/catalogue.h"

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

void PrintFigures(const char* what, std::vector<double> values, const char* unit) {
    std::sort(values.begin(), values.end());
    std::printf("%s, %zu runs: median %.1f %s, best %.1f, worst %.1f\n", what, values.size(),
                values[values.size() / 2], unit, values.front(), values.back());
}

bool TakeNothing(NOTEHANDLE, tamsel::PassContext*) { return false; }
bool SendNothing(DBHANDLE, NOTEID, tamsel::PassContext*) { return false; }
// Counts as sent, so that the throttle applies after every note.
bool TakeEverything(NOTEHANDLE, tamsel::PassContext*) { return true; }

void UseSettings(const std::string& data, const std::string& lines) {
    const std::string file = data + "\\tamsel.ini";
    testing_support::WriteFileText(file, "[Tamsel]\r\nDesktopSearchIndexEnabled=1\r\n"
                                         "DesktopSearchFilePath=mail.zrb\r\n" + lines);
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
    PrintFigures("Pass over 100,000 notes with wait time 0 and nothing converted", rates, "notes/s");
}

void StopLatency(const std::string& data, const char* what, const std::string& settings) {
    tamsel::noteHandlers = {TakeEverything, SendNothing};
    std::mt19937 random(12345);
    std::vector<double> latencies;
    for (int run = 0; run < 20; ++run) {
        UseSettings(data, settings);
        tamsel::SaveSlotState(0, nullptr, nullptr, 0, 0, 0);
        TamselDesktopIndex();
        tamsel::WakeIndexer();
        Sleep(1500 + random() % 1500);
        const auto start = Clock::now();
        TamselDesktopTerm();
        latencies.push_back(Milliseconds(start));
    }
    PrintFigures(what, latencies, "ms");
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
    StopLatency(data.path(), "TamselDesktopTerm while walking (wait time 0)", "DesktopSearchWaitTime=0\r\n");
    StopLatency(data.path(), "TamselDesktopTerm while throttling (wait time 20)", "DesktopSearchWaitTime=20\r\n");
    StoreClientInit(nullptr, 0);
    return 0;
}
