// The commands of zrb.exe. Each takes its own words (after the command name), writes its
// result to standard output and throws std::runtime_error with a message that names the file
// and, where one is at fault, the record.
#pragma once
#include <string>
#include <vector>

namespace zrb {

struct Command {
    const char* name;
    const char* usage; // shown by --help
    int (*run)(const std::vector<std::string>& words);
};

const std::vector<Command>& Commands();

} // namespace zrb
