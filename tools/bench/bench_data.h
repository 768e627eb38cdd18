// The benchmark's mail file: written straight as journal lines, since only reading is timed;
// and the same mails as an mbox.
#pragma once
#include <string>

namespace bench {

// Mails with 15 items each and bodies of about `bodyBytes`; the last note is a memo whose body
// is about 10 KB. Returns the ID of that note.
unsigned WriteMailFile(const std::string& path, int mails, int bodyBytes);

// The same mails as one mbox (with the same subjects, bodies, people and times), for indexers
// that read mail that way.
void WriteMbox(const std::string& path, int mails, int bodyBytes);

} // namespace bench
