// How long the stop call takes while the indexing thread waits: the real plug-in DLL, started
// and stopped 20 times at random points of its wait.
#include "ntamsel.h"
#include "unique_resource.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 20;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string data =
        std::string(temp) + "tamsel-term-bench-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(data.c_str(), nullptr);
    if (StoreClientInit(data.c_str(), 0) != STORE_NOERROR) {
        std::fprintf(stderr, "cannot use %s\n", data.c_str());
        return 1;
    }
    win32::UniqueLibrary plugin(LoadLibraryA("TamselDesktop.dll"));
    auto start = reinterpret_cast<BYTE(WINAPI*)()>(
        reinterpret_cast<void*>(GetProcAddress(plugin.get(), "TamselDesktopIndex")));
    auto stop = reinterpret_cast<BYTE(WINAPI*)()>(
        reinterpret_cast<void*>(GetProcAddress(plugin.get(), "TamselDesktopTerm")));
    if (!start || !stop) {
        std::fprintf(stderr, "TamselDesktop.dll not usable\n");
        return 1;
    }
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::mt19937 random(12345);
    std::vector<double> milliseconds;
    for (int run = 0; run < runs; ++run) {
        start();
        Sleep(300 + random() % 1700); // somewhere inside a one-second wait step
        LARGE_INTEGER before, after;
        QueryPerformanceCounter(&before);
        stop();
        QueryPerformanceCounter(&after);
        milliseconds.push_back(double(after.QuadPart - before.QuadPart) * 1000.0 /
                               double(frequency.QuadPart));
    }
    plugin.reset(); // unloaded before its data folder goes
    std::sort(milliseconds.begin(), milliseconds.end());
    std::printf("TamselDesktopTerm while the thread waits, %d runs: median %.1f ms, best %.1f ms, "
                "worst %.1f ms\n",
                runs, milliseconds[milliseconds.size() / 2], milliseconds.front(),
                milliseconds.back());
    DeleteFileA((data + "\\tamsel.log").c_str());
    RemoveDirectoryA(data.c_str());
    return 0;
}
