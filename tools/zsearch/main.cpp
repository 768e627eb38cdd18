// zsearch: reads the desktop search engines' index and steers their behaviour.
#include "action_commands.h"
#include "index_commands.h"
#include "output.h"
#include "support/utf.h"
#include "switch_commands.h"
#include "verify_command.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

using Arguments = std::vector<std::wstring>;

// One command: its name, how many arguments it takes, its lines of the help (the arguments
// and what they do) and what runs it. Parsing, running and the help all come from this table.
struct Command {
    const char* name;
    size_t fewest, most;
    struct HelpLine {
        const char* arguments;
        const char* text;
    };
    std::vector<HelpLine> help;
    std::function<int(const Arguments&, bool json)> run;
};

constexpr size_t any = SIZE_MAX;

const std::vector<Command>& Commands() {
    // clang-format off
    static const std::vector<Command> commands = {
        {"query", 1, any, {{"WORDS...", "documents holding every word (any case), best first"}},
         [](const Arguments& rest, bool json) { return zsearch::Query(rest, json); }},
        {"show", 1, 1, {{"URL", "one document with all its properties"}},
         [](const Arguments& rest, bool json) { return zsearch::Show(rest[0], json); }},
        {"list", 0, 0, {{"", "every document: url and subject"}},
         [](const Arguments&, bool json) { return zsearch::List(json); }},
        {"count", 0, 0, {{"", "number of documents"}},
         [](const Arguments&, bool json) { return zsearch::Count(json); }},
        {"actions", 1, 1, {{"URL", "the actions offered on a document, as its component answers them"}},
         [](const Arguments& rest, bool) { return zsearch::Actions(rest[0]); }},
        {"act", 2, 2, {{"URL ACTION", "carry out an action (its id or its number in the list)"}},
         [](const Arguments& rest, bool) { return zsearch::Act(rest[0], rest[1]); }},
        {"service", 1, 1, {{"start|stop|pause|resume", ""}},
         [](const Arguments& rest, bool) { return zsearch::Service(rest[0]); }},
        // Fail checks its own arguments: each kind of fault takes others.
        {"fail", 0, any,
         {{"component on|off", "on: the component answers that it is disabled"},
          {"property NAME CODE", "AddProperty of NAME answers CODE"},
          {"send CODE [FROM [COUNT]]", "Send answers CODE from the FROM-th send on"},
          {"limit property|event BYTES", "larger values or events are refused"}},
         [](const Arguments& rest, bool) { return zsearch::Fail(rest); }},
        {"clear", 0, 0, {{"", "all engines' switches back to normal"}},
         [](const Arguments&, bool) { return zsearch::Clear(); }},
        {"reset", 0, 0, {{"", "a new, empty index with a new creation time"}},
         [](const Arguments&, bool) { return zsearch::Reset(); }},
        // Its help is its own (kVerifyHelp), after the others'.
        {"verify", 0, any, {},
         [](const Arguments& rest, bool json) { return zsearch::Verify(rest, json); }},
    };
    // clang-format on
    return commands;
}

std::string Help() {
    std::string help = "usage: zsearch [--json] COMMAND ...\n";
    for (const Command& command : Commands())
        for (const Command::HelpLine& line : command.help) {
            std::string usage = std::string("  ") + command.name;
            if (*line.arguments)
                usage += std::string(" ") + line.arguments;
            // The texts line up in one column, and the longer usages in a second.
            if (*line.text)
                usage.resize(usage.size() < 22 ? 22 : 35, ' ');
            help += usage + line.text + "\n";
        }
    return help + "The index folder is HKCU\\Software\\Zendri\\DesktopSearch \"IndexFolder\".\n";
}

int Run(Arguments args) {
    bool json = false;
    std::erase_if(args, [&](const std::wstring& arg) {
        const bool isJson = arg == L"--json";
        json = json || isJson;
        return isJson;
    });
    if (args.empty() || args[0] == L"--help" || args[0] == L"-h") {
        zsearch::Print(Help() + zsearch::kVerifyHelp);
        return args.empty() ? 2 : 0;
    }
    const std::string name = engine_support::ToUtf8(args[0]);
    const Arguments rest(args.begin() + 1, args.end());
    const auto command = std::find_if(Commands().begin(), Commands().end(),
                                      [&](const Command& known) { return name == known.name; });
    if (command != Commands().end() && rest.size() >= command->fewest &&
        rest.size() <= command->most)
        return command->run(rest, json);
    // Say what was wrong before the whole help, which a script's log would otherwise hold alone.
    zsearch::PrintError("zsearch: " +
                        (command != Commands().end() ? "wrong arguments for '" + name + "'"
                                                     : "unknown command '" + name + "'") +
                        "\n" + Help());
    return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    try {
        return Run(std::vector<std::wstring>(argv + 1, argv + argc));
    } catch (const std::exception& error) {
        zsearch::PrintError(std::string("zsearch: ") + error.what() + "\n");
        return 1;
    }
}
