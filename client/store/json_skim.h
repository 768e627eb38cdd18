// Reading our own JSON without building a document: finding where a value ends, decoding a
// string, and taking the paragraphs out of a rich text value. Opening a note leaves its bodies
// as raw text this way, since a full parse of a long body costs more than everything else.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace store {

// The offset just past the JSON value that starts at text[pos] (blanks before it allowed);
// npos when it is malformed or nested too deeply.
size_t SkipJsonValue(std::string_view text, size_t pos);
// Decodes the JSON string starting at text[pos] (its opening quote); moves pos past it.
std::optional<std::string> ReadJsonString(std::string_view text, size_t& pos);
// The texts of a rich text value's paragraphs, runs joined; empty when the value is not rich
// text (an array of paragraphs, each an array of strings or {"text": ...} runs, or one string
// of lines).
std::optional<std::vector<std::string>> RichTextParagraphs(std::string_view raw);

} // namespace store
