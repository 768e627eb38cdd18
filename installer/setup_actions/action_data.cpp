#include "action_data.h"

#include "setup_error.h"

namespace setup {
namespace {

void AppendLine(std::string& text, const std::string& line) {
    if (line.find_first_of("\r\n") != std::string::npos)
        throw SetupError{L"A setting of the client cannot hold a line break."};
    text += line;
    text += '\n';
}

} // namespace

std::string Encode(const ActionData& data) {
    std::string text;
    AppendLine(text, data.dataDirectory);
    AppendLine(text, data.module);
    for (const SettingChange& change : data.changes) {
        if (change.name.empty() || change.name.find('=') != std::string::npos)
            throw SetupError{L"A setting of the client needs a name without \"=\"."};
        AppendLine(text, change.name + "=" + change.value);
    }
    return text;
}

ActionData Decode(const std::string& text) {
    ActionData data;
    size_t start = 0;
    for (int line = 0; start < text.size(); ++line) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string content = text.substr(start, end - start);
        start = end + 1;
        if (line == 0) {
            data.dataDirectory = content;
        } else if (line == 1) {
            data.module = content;
        } else {
            const size_t equals = content.find('=');
            if (equals == std::string::npos || equals == 0)
                throw SetupError{L"The installer's data for the client's settings is damaged."};
            data.changes.push_back({content.substr(0, equals), content.substr(equals + 1)});
        }
    }
    return data;
}

} // namespace setup
