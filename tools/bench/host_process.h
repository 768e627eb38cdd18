// The benchmarks' client process: started, and its figures read from the host's process
// table (Wine keeps no processor times of other processes and no peak memory at all).
#pragma once
#include "program_start.h"

#include <string>

namespace bench {

// The build's client, headless on the data directory with the extra arguments, without a
// window and inheriting nothing.
testing_support::StartedProgram StartHeadlessClient(const std::string& data,
                                                    const std::string& arguments);

// The host's folder (Z:\proc\N) of the client whose command line names the data directory,
// or empty.
std::string ClientProcessFolder(const std::string& data);
// Processor seconds used so far; negative when the folder cannot be read.
double ProcessorSeconds(const std::string& processFolder);
// Peak resident memory in MB; negative when unknown.
double PeakMemoryMb(const std::string& processFolder);

} // namespace bench
