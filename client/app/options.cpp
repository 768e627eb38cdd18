#include "options.h"

#include "box_watcher.h"

#include <algorithm>
#include <charconv>
#include <climits>

namespace nltamsel {

namespace {

const char* const usageText =
    "usage: nltamsel [--data DIR] [--headless] [--seconds N] [--menu K] [--answer A,B,...]\n"
    "                [--dialog LIST]\n"
    "       nltamsel [--data DIR] --install\n"
    "       nltamsel [--data DIR] --url URL\n"
    "  --data DIR     data directory with tamsel.ini (default: %TAMSEL_DATA%, else the one\n"
    "                 recorded by --install)\n"
    "  --headless     no main window; message boxes and dialogs are logged and answered\n"
    "  --seconds N    exit after N seconds\n"
    "  --menu K       choose menu add-in item K (from 0) once started\n"
    "  --answer LIST  answers for boxes in order: ok, cancel, yes, no, retry, abort, ignore;\n"
    "                 boxes beyond the list get their default button\n"
    "  --dialog LIST  actions on the dialog the menu command opens (headless), separated by\n"
    "                 commas, for example \"check IDC_ENABLE, answer yes, click IDC_ADD,\n"
    "                 file C:\\mail.zrb, click IDC_OK\"; the actions are listed below\n"
    "  --install      record this program's folder as the client's installation path (and the\n"
    "                 data directory, when one is given, as the user's), and make it the\n"
    "                 handler of Tamsel: document URLs and mailto: URLs\n"
    "  --url URL      open the document of a Tamsel: URL or start a reply to a mailto: URL\n"
    "actions of --dialog:\n";

// The longest run whose milliseconds still fit a finite wait.
constexpr unsigned maximumSeconds = 0xFFFFFFFEu / 1000;

std::optional<unsigned> ParseNumber(const std::string& text, unsigned largest,
                                    const std::string& name, std::string& error) {
    unsigned long long value = 0;
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (failure == std::errc::invalid_argument || end != text.data() + text.size()) {
        error = name + " needs a whole number, not '" + text + "'";
        return std::nullopt;
    }
    if (failure == std::errc::result_out_of_range || value > largest) {
        error = name + " must be at most " + std::to_string(largest) + ", not " + text;
        return std::nullopt;
    }
    return unsigned(value);
}

// Answers as written in a list ("yes, no"); a word that is not an answer is an error, not a
// box left to its default button.
std::optional<std::vector<std::string>> ParseAnswers(const std::string& text, std::string& error) {
    std::vector<std::string> answers;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t comma = std::min(text.find(',', start), text.size());
        std::string answer = text.substr(start, comma - start);
        answer.erase(0, answer.find_first_not_of(' '));
        answer.erase(answer.find_last_not_of(' ') + 1);
        if (!ButtonForAnswer(answer)) {
            error = "--answer: '" + answer +
                    "' is not one of ok, cancel, yes, no, retry, abort, ignore";
            return std::nullopt;
        }
        answers.push_back(answer);
        start = comma + 1;
    }
    return answers;
}

} // namespace

std::string Usage() {
    return usageText + DialogScriptHelp();
}

std::optional<Options> ParseOptions(const std::vector<std::string>& arguments, std::string& error) {
    Options options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        auto value = [&]() -> const std::string* {
            return i + 1 < arguments.size() ? &arguments[++i] : nullptr;
        };
        if (name == "--headless") {
            options.headless = true;
        } else if (name == "--install") {
            options.install = true;
        } else if (name == "--help" || name == "-h") {
            options.help = true;
        } else if (name == "--data" || name == "--seconds" || name == "--menu" ||
                   name == "--answer" || name == "--url" || name == "--dialog") {
            const std::string* text = value();
            if (!text) {
                error = name + " needs a value";
                return std::nullopt;
            }
            if (name == "--data") {
                options.dataDirectory = *text;
            } else if (name == "--url") {
                options.url = *text;
            } else if (name == "--answer") {
                auto answers = ParseAnswers(*text, error);
                if (!answers)
                    return std::nullopt;
                options.answers = std::move(*answers);
            } else if (name == "--dialog") {
                auto script = ParseDialogScript(*text, error);
                if (!script)
                    return std::nullopt;
                options.dialogScript = std::move(*script);
            } else {
                const bool seconds = name == "--seconds";
                const auto number =
                    ParseNumber(*text, seconds ? maximumSeconds : UINT_MAX, name, error);
                if (!number)
                    return std::nullopt;
                (seconds ? options.seconds : options.menuItem) = *number;
            }
        } else {
            error = "unknown argument '" + name + "'";
            return std::nullopt;
        }
    }
    return options;
}

} // namespace nltamsel
