#include "rich_text.h"
#include "note.h"
#include "text_utf8.h"

#include <cstdint>

namespace store {
namespace {

using nlohmann::json;

std::string ParagraphText(const json& paragraph) {
    std::string text;
    for (const auto& run : paragraph)
        text += run.is_string() ? run.get<std::string>() : FieldOr(run, "text", std::string());
    return text;
}

std::string ExpandTabs(const std::string& text) {
    std::string out;
    size_t column = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\t') {
            do {
                out += ' ';
            } while (++column % 8);
            continue;
        }
        out += text[i];
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            ++column;
    }
    return out;
}

// Breaks one paragraph into lines of at most `length` characters, at blanks where it can.
void AppendWrapped(std::string_view text, const RenderOptions& options, std::string& out) {
    const size_t length = options.lineLength ? options.lineLength : SIZE_MAX;
    do {
        size_t bytes = 0, characters = 0, lastBlank = std::string_view::npos;
        while (bytes < text.size() && characters < length) {
            if (text[bytes] == ' ')
                lastBlank = bytes;
            const size_t step = Utf8SequenceLength(text.substr(bytes));
            bytes += step ? step : 1;
            ++characters;
        }
        size_t cut = bytes, next = bytes;
        if (bytes < text.size() && text[bytes] != ' ' && lastBlank != std::string_view::npos &&
            lastBlank > 0) {
            cut = lastBlank;
            next = lastBlank + 1;
        } else if (bytes < text.size() && text[bytes] == ' ')
            next = bytes + 1;
        out.append(text.substr(0, cut));
        out += options.lineDelimiter;
        text.remove_prefix(next);
    } while (!text.empty());
}

} // namespace

std::string RenderRichText(const json& value, const RenderOptions& options) {
    const json plain = value.is_string() ? RichTextFromPlain(value.get<std::string>()) : json();
    const json& paragraphs = value.is_string() ? plain : value;
    std::string out;
    if (!paragraphs.is_array())
        return out;
    for (const auto& paragraph : paragraphs) {
        if (!paragraph.is_array())
            continue;
        std::string text = SanitizeUtf8(ParagraphText(paragraph));
        if (options.convertTabs)
            text = ExpandTabs(text);
        AppendWrapped(text, options, out);
    }
    return out;
}

json RichTextFromPlain(const std::string& text) {
    json paragraphs = json::array();
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        paragraphs.push_back(json::array({line}));
        start = end + 1;
    }
    return paragraphs;
}

} // namespace store
