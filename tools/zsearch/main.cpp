// zsearch: reads the desktop search engines' index and steers their behaviour.
#include "action_commands.h"
#include "index_commands.h"
#include "output.h"
#include "support/utf.h"
#include "switch_commands.h"
#include "verify_command.h"

#include <string>
#include <vector>

namespace {

constexpr char kHelp[] =
    "usage: zsearch [--json] COMMAND ...\n"
    "  query WORDS...      documents holding every word (any case), best first\n"
    "  show URL            one document with all its properties\n"
    "  list                every document: url and subject\n"
    "  count               number of documents\n"
    "  actions URL         the actions offered on a document, as its component answers them\n"
    "  act URL ACTION      carry out an action (its id or its number in the list)\n"
    "  service start|stop|pause|resume\n"
    "  fail component on|off            on: the component answers that it is disabled\n"
    "  fail property NAME CODE          AddProperty of NAME answers CODE\n"
    "  fail send CODE [FROM [COUNT]]    Send answers CODE from the FROM-th send on\n"
    "  fail limit property|event BYTES  larger values or events are refused\n"
    "  clear               all engines' switches back to normal\n"
    "  reset               a new, empty index with a new creation time\n"
    "The index folder is HKCU\\Software\\Zendri\\DesktopSearch \"IndexFolder\".\n";

void PrintHelp() {
    zsearch::Print(std::string(kHelp) + zsearch::kVerifyHelp);
}

int Run(std::vector<std::wstring> args) {
    bool json = false;
    std::erase_if(args, [&](const std::wstring& arg) {
        const bool isJson = arg == L"--json";
        json = json || isJson;
        return isJson;
    });
    if (args.empty() || args[0] == L"--help" || args[0] == L"-h") {
        PrintHelp();
        return args.empty() ? 2 : 0;
    }
    const std::wstring command = args[0];
    const std::vector<std::wstring> rest(args.begin() + 1, args.end());
    if (command == L"query" && !rest.empty())
        return zsearch::Query(rest, json);
    if (command == L"show" && rest.size() == 1)
        return zsearch::Show(rest[0], json);
    if (command == L"list" && rest.empty())
        return zsearch::List(json);
    if (command == L"count" && rest.empty())
        return zsearch::Count(json);
    if (command == L"actions" && rest.size() == 1)
        return zsearch::Actions(rest[0]);
    if (command == L"act" && rest.size() == 2)
        return zsearch::Act(rest[0], rest[1]);
    if (command == L"service" && rest.size() == 1)
        return zsearch::Service(rest[0]);
    if (command == L"fail")
        return zsearch::Fail(rest);
    if (command == L"clear" && rest.empty())
        return zsearch::Clear();
    if (command == L"reset" && rest.empty())
        return zsearch::Reset();
    if (command == L"verify")
        return zsearch::Verify(rest, json);
    // Say what was wrong before the whole help, which a script's log would otherwise hold alone.
    const std::string name = engine_support::ToUtf8(command);
    const bool known = std::string_view(kHelp).find("\n  " + name + " ") != std::string_view::npos;
    zsearch::PrintError(
        "zsearch: " +
        (known ? "wrong arguments for '" + name + "'" : "unknown command '" + name + "'") + "\n" +
        kHelp);
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
