#include "rich_text.h"
#include "note.h"
#include "text_utf8.h"

#include <algorithm>
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
    if (text.size() <= length) { // no more characters than bytes: it fits
        out.append(text).append(options.lineDelimiter);
        return;
    }
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

std::string RenderParagraphs(const std::vector<std::string>& paragraphs,
                             const RenderOptions& options) {
    size_t size = 0;
    for (const auto& paragraph : paragraphs)
        size += paragraph.size() + options.lineDelimiter.size();
    std::string out;
    out.reserve(size); // enough unless lines wrap or tabs expand
    for (const auto& paragraph : paragraphs) {
        // Copies only for a paragraph that needs changing.
        const bool expand = options.convertTabs && paragraph.find('\t') != std::string::npos;
        if (!expand && IsValidUtf8(paragraph)) {
            AppendWrapped(paragraph, options, out);
            continue;
        }
        std::string text = SanitizeUtf8(paragraph);
        AppendWrapped(expand ? ExpandTabs(text) : text, options, out);
    }
    return out;
}

std::string RenderRichText(const json& value, const RenderOptions& options) {
    std::vector<std::string> paragraphs;
    if (value.is_string())
        paragraphs = SplitLines(value.get_ref<const std::string&>());
    else if (value.is_array())
        for (const auto& paragraph : value)
            if (paragraph.is_array())
                paragraphs.push_back(ParagraphText(paragraph));
    return RenderParagraphs(paragraphs, options);
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.emplace_back(line);
        start = end + 1;
    }
    return lines;
}

json RichTextFromPlain(const std::string& text) {
    json paragraphs = json::array();
    for (auto& line : SplitLines(text))
        paragraphs.push_back(json::array({std::move(line)}));
    return paragraphs;
}

} // namespace store
