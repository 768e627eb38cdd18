// One look at the client's indexed databases and the engines' index, and what differs.
//
// Expected in the index: every live document note whose kind the plug-in sends under the
// client's settings (drafts, chats, discussions, other forms) and whose last change is at or
// before its database's time stamp. Later changes are pending: the next pass sends them.
// A document is stale when the engine stored it before the note's last change ("stored" in
// the index record); records without that time are never called stale. A document that a
// deletion emptied (the emptied-event road) counts as gone.
#pragma once
#include "ntamsel.h"

#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace zsearch {

enum class Finding { missing, stale, ghost, duplicate, pending };
const char* FindingName(Finding finding);

struct NoteFinding {
    Finding kind;
    std::string url;
    std::string reason; // ghosts: why the document should not be there
    bool operator<(const NoteFinding& other) const {
        return std::tie(kind, url) < std::tie(other.kind, other.url);
    }
};

struct DatabaseSurvey {
    int slot = -1;         // -1: a database the index holds documents of, not indexed
    std::string path;      // as the settings name it
    std::string replica;   // the replica id in its documents' urls
    std::string stamp;     // the time stamp's text; empty when never indexed
    std::string problem;   // why the database could not be read
    size_t expected = 0;   // notes a completed pass covers
    size_t indexed = 0;    // documents of this database in the index
    double oldestOwed = 0; // last change of the oldest missing or stale note (OLE date)
    std::set<NoteFinding> findings;
};

struct Survey {
    std::string indexFolder;
    std::vector<DatabaseSurvey> databases;
    bool engineIndexRemade = false; // every time stamp is void: the plug-in indexes anew
};

// Reads settings, databases and index once.
Survey TakeSurvey();
// What both surveys found, per database; `changed` tells whether they differ.
Survey Confirmed(const Survey& first, const Survey& second, bool& changed);
// A hundredth of a second before an OLE date (UTC), as a client time.
bool HundredthBefore(double date, STORETIME& time);
// Counts of a kind over every database.
size_t CountOf(const Survey& survey, Finding kind);

} // namespace zsearch
