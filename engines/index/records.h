// Fast reading of the log for large indexes: the replay looks only at each record's op and
// url, and a query parses only the records whose text can hold every word.
#pragma once
#include "document.h"

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace engine_index {

struct RecordLine {
    std::string_view text;
    std::uint64_t sequence; // line number in the log
    std::string_view url;
};

struct LiveRecords {
    std::vector<RecordLine> lines;
    std::deque<std::string> decodedUrls; // urls written escaped; lines point into these
};

// The add records still in force (not replaced or removed later), in arrival order.
// The lines point into logText.
LiveRecords LiveAddRecords(std::string_view logText);
std::optional<Document> ParseAddRecord(const RecordLine& line);
// Replays the log: a later record for a url replaces or removes the earlier one.
// Lines that are not records (torn or foreign) are skipped. Ordered by arrival.
std::vector<Document> LiveDocuments(std::string_view logText);

// Lower case by the invariant locale, character by character, staying UTF-8.
std::string FoldUtf8(std::string_view text);
// Tells whether a record may hold every word in its url or text values; false only when
// it cannot. Plain ASCII words are first looked for in the record's raw text, which
// rejects most records without folding them.
class Prefilter {
  public:
    explicit Prefilter(std::vector<std::string> foldedWords);
    Prefilter(const Prefilter&) = delete;
    Prefilter& operator=(const Prefilter&) = delete;
    ~Prefilter();

    // scratch is working space that a caller reuses from record to record.
    bool MayMatch(const RecordLine& line, std::string& scratch) const;

  private:
    struct RawSearch;
    std::vector<std::string> words_;
    std::vector<RawSearch> raw_;
};

// Parsed live documents that may match every word of the query, for Search to rank.
std::vector<Document> Candidates(std::string_view logText, std::wstring_view query);

} // namespace engine_index
