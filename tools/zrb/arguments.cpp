#include "arguments.h"

#include <stdexcept>

namespace zrb {

std::optional<std::string> Arguments::text(const std::string& name) const {
    auto found = options.find(name);
    if (found == options.end())
        return std::nullopt;
    return found->second;
}

std::optional<long long> Arguments::number(const std::string& name) const {
    auto value = text(name);
    if (!value)
        return std::nullopt;
    size_t used = 0;
    long long parsed = 0;
    try {
        parsed = std::stoll(*value, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != value->size())
        throw std::runtime_error(name + " needs a whole number, not \"" + *value + "\"");
    return parsed;
}

Arguments ParseArguments(const std::vector<std::string>& words, size_t positionals,
                         const std::set<std::string>& known, const std::set<std::string>& flags) {
    Arguments arguments;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.rfind("--", 0) != 0 || word.size() == 2) {
            if (arguments.positional.size() == positionals)
                throw std::runtime_error("unexpected argument \"" + word + "\"");
            arguments.positional.push_back(word);
            continue;
        }
        if (!known.count(word) && !flags.count(word))
            throw std::runtime_error("unknown option " + word);
        if (flags.count(word)) {
            arguments.options[word] = "";
            continue;
        }
        if (i + 1 == words.size())
            throw std::runtime_error(word + " needs a value");
        arguments.options[word] = words[++i];
    }
    return arguments;
}

} // namespace zrb
