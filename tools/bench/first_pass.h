// The first pass of the real client, plug-in and engines over a data directory, timed from
// the client's log.
#pragma once
#include <string>
#include <vector>

namespace bench {

struct DatabaseTime {
    std::string file;
    double seconds; // from its opening to its pass summary
    std::string summary;
};

struct FirstPass {
    bool completed = false;
    double seconds = 0; // from the first database's start to the last summary
    double peakMemoryMb = -1;
    std::vector<DatabaseTime> databases;
    std::string log;
};

// Starts the client headless on the data directory (whose tamsel.ini the caller wrote, with
// debug logging on) and ends it when every database named has logged its pass summary.
FirstPass RunFirstPass(const std::string& dataFolder, const std::vector<std::string>& databases);

} // namespace bench
