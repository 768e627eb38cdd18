// Plain-text rendering of rich text items: paragraphs of text runs.
#pragma once
#include <nlohmann/json.hpp>

#include <string>
#include <string_view>
#include <vector>

namespace store {

struct RenderOptions {
    std::string lineDelimiter = "\r\n";
    size_t lineLength = 0xFFFF; // in characters, 0 = unlimited; longer lines wrap at a blank
    bool convertTabs = false;   // tabs become blanks up to the next stop of eight columns
};

// `value` is a rich text item's value (paragraphs, or a plain string of lines).
std::string RenderRichText(const nlohmann::json& value, const RenderOptions& options);
std::string RenderParagraphs(const std::vector<std::string>& paragraphs,
                             const RenderOptions& options);
// The lines of a text, without their line ends.
std::vector<std::string> SplitLines(std::string_view text);
// The paragraphs of a plain text, one per line.
nlohmann::json RichTextFromPlain(const std::string& text);

} // namespace store
