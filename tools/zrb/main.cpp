// zrb.exe: the database tool of the mail client.
#include "commands.h"

#include <exception>
#include <iostream>

namespace {

void PrintUsage(std::ostream& out) {
    out << "usage: zrb COMMAND ARGUMENTS (zrb COMMAND --help for one command)\n";
    for (const auto& command : zrb::Commands())
        out << "  " << command.usage << "\n";
}

} // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty() || words[0] == "--help" || words[0] == "-h") {
        PrintUsage(words.empty() ? std::cerr : std::cout);
        return words.empty() ? 2 : 0;
    }
    for (const auto& command : zrb::Commands()) {
        if (words[0] != command.name)
            continue;
        const std::vector<std::string> rest(words.begin() + 1, words.end());
        for (const auto& word : rest)
            if (word == "--help") {
                std::cout << "usage: zrb " << command.usage << "\n";
                return 0;
            }
        try {
            return command.run(rest);
        } catch (const std::exception& error) {
            std::cerr << "zrb " << command.name << ": " << error.what() << "\n";
            return 1;
        }
    }
    std::cerr << "zrb: unknown command \"" << words[0] << "\"\n";
    PrintUsage(std::cerr);
    return 2;
}
