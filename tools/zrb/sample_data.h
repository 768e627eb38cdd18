// A realistic data directory for demos and tests: the user's mail file with memos, replies,
// notices, drafts, chat transcripts, calendar entries and tasks; an address book; a journal; a
// discussion database whose forms have window-title formulas; and the history database.
#pragma once
#include <string>

namespace zrb {

struct SampleCounts {
    int mails = 200;
    int appointments = 30;
    int contacts = 40;
    int tasks = 20;
    int journal = 10;
    int other = 15;
    int seed = 1;
};

// Throws std::runtime_error naming the file that cannot be written.
void WriteSampleDirectory(const std::string& directory, const SampleCounts& counts);

} // namespace zrb
