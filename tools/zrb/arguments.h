// The command line of one zrb command: positional words and --name [value] options.
#pragma once
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace zrb {

struct Arguments {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options; // "--title" -> "Mail"; flags map to ""

    bool has(const std::string& name) const { return options.count(name) != 0; }
    std::optional<std::string> text(const std::string& name) const;
    // Throws std::runtime_error naming the option when its value is not a whole number.
    std::optional<long long> number(const std::string& name) const;
};

// Options listed in `flags` take no value; every other option takes the next word. Throws
// std::runtime_error for an option not in `known` and for more than `positionals` other words.
Arguments ParseArguments(const std::vector<std::string>& words, size_t positionals,
                         const std::set<std::string>& known, const std::set<std::string>& flags);

} // namespace zrb
