// Reading our own JSON without building a document: finding where a value ends, walking the
// entries of an object or array, decoding a string, and taking the paragraphs out of a rich
// text value. Opening a note reads its record this way and leaves its bodies as raw text, since
// a JSON document of a record costs more than everything else.
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
// The same, appending to `out`; false when the string is malformed.
bool AppendJsonString(std::string_view text, size_t& pos, std::string& out);

// The texts of a rich text value's paragraphs, runs joined; empty when the value is not rich
// text (an array of paragraphs, each an array of strings or {"text": ...} runs, or one string
// of lines).
std::optional<std::vector<std::string>> RichTextParagraphs(std::string_view raw);

// Walks the members of a JSON object or the elements of an array without parsing them:
//   JsonEntries members(text, 0);
//   while (members.next(key)) ... members.value() ...
// A caller may instead walk a value itself from valueStart() and then say where it ended
// (skipTo), so that nested values are read in one pass.
class JsonEntries {
  public:
    // The object or array at text[pos] (blanks before it allowed).
    JsonEntries(std::string_view text, size_t pos);
    // '{', '[', or 0 when the text holds neither there.
    char kind() const { return open_; }
    // Moves to the next entry, decoding its key in an object; false at the end or when
    // malformed. A value the caller did not take is skipped.
    bool next(std::string& key);
    // The current value's raw text; empty when it is malformed.
    std::string_view value();
    size_t valueStart() const { return valueStart_; }
    void skipTo(size_t valueEnd);
    // The offset past the closing bracket once next() answered false; npos when malformed.
    size_t end() const { return end_; }

  private:
    bool stop(size_t end);
    std::string_view text_;
    size_t pos_;
    size_t valueStart_ = std::string_view::npos;
    char open_ = 0;
    bool started_ = false;
    size_t end_ = std::string_view::npos;
};

} // namespace store
