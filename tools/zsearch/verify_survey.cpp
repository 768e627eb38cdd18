#include "verify_survey.h"

#include "convert/document_url.h"
#include "convert/empty_mail_event.h"
#include "convert/note_kind.h"
#include "core/shared_index.h"
#include "index/records.h"
#include "settings/client_settings.h"
#include "settings/database_list.h"
#include "settings/slot_state.h"
#include "store_owners.h"
#include "support/utf.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace zsearch {
namespace {

using engine_index::Document;
using tamsel::UniqueDatabase;
using tamsel::UniqueIdTable;
using tamsel::UniqueNote;

constexpr double kJulianDayOfOleZero = 2415019; // 1899-12-30
constexpr double kHundredthsPerDay = 8640000;

// To the hundredth, as the client keeps it (engine dates of client times keep whole seconds).
double ExactDate(const STORETIME& time) {
    const DWORD day = StoreTimeDayNumber(&time), hundredths = StoreTimeTimePart(&time);
    if (day == STORE_TIME_ABSENT || hundredths == STORE_TIME_ABSENT)
        return 0;
    return double(day) - kJulianDayOfOleZero + double(hundredths) / kHundredthsPerDay;
}

struct NoteState {
    bool live = false, indexed = false, pending = false;
    double changed = 0; // OLE date of the last change
};

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::toupper(c)); });
    return text;
}

// A document that a deletion's empty event overwrote.
bool IsEmptied(const Document& document) {
    for (const auto& [name, value] : document.properties.items())
        if (value.is_string() &&
            !tamsel::IsEmptiedEventText(name, value.get_ref<const std::string&>()))
            return false;
    return true;
}

STORESTATUS WINAPI CollectId(void* context, NOTEID id) {
    static_cast<std::vector<NOTEID>*>(context)->push_back(id);
    return STORE_NOERROR;
}

// The document notes changed after `since`, stubs carrying STORE_NOTEID_DELETED.
std::vector<NOTEID> ChangedSince(DBHANDLE database, STORETIME since, STORESTATUS& status) {
    STORETIME until;
    UniqueIdTable table;
    std::vector<NOTEID> ids;
    status =
        StoreGetModifiedNoteTable(database, STORE_NOTECLASS_DOCUMENT, since, &until, table.put());
    if (status == STORE_ERR_NOT_MODIFIED)
        status = STORE_NOERROR;
    if (status == STORE_NOERROR && table)
        StoreIdTableEnumerate(table.get(), CollectId, &ids);
    return ids;
}

std::optional<std::pair<std::string, NoteState>> ReadNote(DBHANDLE database, NOTEID id,
                                                          const std::set<NOTEID>& pending) {
    const NOTEID plainId = id & ~STORE_NOTEID_DELETED;
    STOREORIGINATORID originator{};
    STORETIME modified{};
    const STORESTATUS status =
        StoreGetNoteInfoById(database, plainId, &originator, &modified, nullptr);
    if (status != STORE_NOERROR && status != STORE_ERR_STUB)
        return std::nullopt;
    char url[tamsel::documentUrlSize];
    if (tamsel::BuildDocumentUrl(database, originator, url) == 0)
        return std::nullopt;
    NoteState state;
    state.pending = pending.count(id) > 0;
    state.changed = ExactDate(modified);
    UniqueNote note;
    if (!(id & STORE_NOTEID_DELETED) &&
        StoreOpenNote(database, plainId, 0, note.put()) == STORE_NOERROR) {
        state.live = true;
        state.indexed = tamsel::IsIndexedNote(note.get());
    }
    return std::pair{std::string(url), state};
}

struct DatabaseNotes {
    DatabaseSurvey survey;
    std::map<std::string, NoteState> notes; // by url
};

DatabaseNotes ReadDatabase(int slot) {
    DatabaseNotes read;
    DatabaseSurvey& survey = read.survey;
    survey.slot = slot;
    char path[tamsel::slotPathLength + 1];
    tamsel::GetSlotPath(slot, path, sizeof path);
    survey.path = path;
    STORETIME stamp;
    StoreSetTimeConstant(STORE_TIME_EARLIEST, &stamp);
    if (tamsel::GetLastIndexed(slot, &stamp)) {
        std::string text;
        tamsel::TimeText(stamp, text);
        survey.stamp = text.empty() ? "0" : text;
    }
    UniqueDatabase database;
    STORESTATUS status = tamsel::OpenIndexedDatabase(nullptr, path, database.put());
    if (status != STORE_NOERROR) {
        survey.problem = "cannot open the database (status " + std::to_string(status) + ")";
        return read;
    }
    survey.replica = tamsel::DatabaseReplicaText(database.get());
    // Another database than the one indexed: the time stamp is not its own, and the next pass
    // indexes it anew.
    const std::string indexed = tamsel::GetSlotReplica(slot);
    if (!indexed.empty() && indexed != survey.replica) {
        StoreSetTimeConstant(STORE_TIME_EARLIEST, &stamp);
        survey.stamp.clear();
    }
    const std::vector<NOTEID> changed = ChangedSince(database.get(), stamp, status);
    const std::set<NOTEID> pending(changed.begin(), changed.end());
    STORETIME earliest;
    StoreSetTimeConstant(STORE_TIME_EARLIEST, &earliest);
    for (const NOTEID id : ChangedSince(database.get(), earliest, status))
        if (auto note = ReadNote(database.get(), id, pending))
            read.notes.insert_or_assign(note->first, note->second);
    if (status != STORE_NOERROR)
        survey.problem = "cannot list the notes (status " + std::to_string(status) + ")";
    return read;
}

void Report(DatabaseSurvey& survey, Finding kind, const std::string& url, std::string reason = {}) {
    survey.findings.insert({kind, url, std::move(reason)});
}

// The index's side: each document of the database is a duplicate, a ghost or stale, or as it
// should be. Returns the urls the index holds, one for each note it names.
std::set<std::string> ClassifyDocuments(DatabaseNotes& read,
                                        const std::vector<const Document*>& documents) {
    DatabaseSurvey& survey = read.survey;
    // Urls differing only in case name one note: the one naming it exactly stays, the others
    // are duplicates.
    std::map<std::string, std::vector<const Document*>> byFoldedUrl;
    for (const Document* document : documents)
        if (!IsEmptied(*document))
            byFoldedUrl[Upper(document->url)].push_back(document);
    std::set<std::string> present;
    for (const auto& [folded, group] : byFoldedUrl) {
        survey.indexed += group.size();
        const auto exact = std::find_if(group.begin(), group.end(), [&](const Document* document) {
            return read.notes.count(document->url) > 0;
        });
        const Document* document = exact == group.end() ? group.front() : *exact;
        for (const Document* other : group)
            if (other != document)
                Report(survey, Finding::duplicate, other->url);
        present.insert(document->url);
        if (survey.slot < 0) {
            Report(survey, Finding::ghost, document->url, "database not indexed");
            continue;
        }
        const auto note = read.notes.find(document->url);
        if (note == read.notes.end()) {
            Report(survey, Finding::ghost, document->url, "no such note");
            continue;
        }
        const NoteState& state = note->second;
        if (state.pending)
            continue;
        if (!state.live)
            Report(survey, Finding::ghost, document->url, "note deleted");
        else if (!state.indexed)
            Report(survey, Finding::ghost, document->url, "kind not indexed");
        else if (document->stored != 0 && document->stored < state.changed)
            Report(survey, Finding::stale, document->url);
    }
    return present;
}

// The database's side: each note is pending, missing or, when missing or stale, owed; runs
// after the documents are classified.
void ClassifyNotes(DatabaseNotes& read, const std::set<std::string>& present) {
    DatabaseSurvey& survey = read.survey;
    for (const auto& [url, state] : read.notes) {
        if (state.pending) {
            Report(survey, Finding::pending, url);
            continue;
        }
        if (!state.live || !state.indexed)
            continue;
        ++survey.expected;
        const bool owed =
            !present.count(url) || survey.findings.count({Finding::stale, url, {}}) > 0;
        if (!present.count(url))
            Report(survey, Finding::missing, url);
        if (owed && (survey.oldestOwed == 0 || state.changed < survey.oldestOwed))
            survey.oldestOwed = state.changed;
    }
}

void Compare(DatabaseNotes& read, const std::vector<const Document*>& documents) {
    ClassifyNotes(read, ClassifyDocuments(read, documents));
}

} // namespace

bool HundredthBefore(double date, STORETIME& time) {
    const double day = std::floor(date);
    long long hundredths = std::llround((date - day) * kHundredthsPerDay) - 1;
    long long julian = (long long)(day + kJulianDayOfOleZero);
    if (hundredths < 0) {
        hundredths += (long long)kHundredthsPerDay;
        --julian;
    }
    return StoreTimeConstruct(DWORD(julian), DWORD(hundredths), &time) == STORE_NOERROR;
}

const char* FindingName(Finding finding) {
    switch (finding) {
    case Finding::missing:
        return "missing";
    case Finding::stale:
        return "stale";
    case Finding::ghost:
        return "ghost";
    case Finding::duplicate:
        return "duplicate";
    default:
        return "pending";
    }
}

Survey TakeSurvey() {
    Survey survey;
    survey.indexFolder = engine_support::ToUtf8(engine_core::CurrentIndexLog().folder());
    if ((survey.engineIndexRemade = tamsel::EngineIndexRemade()))
        return survey;
    tamsel::LoadSettings();
    // Documents first: a note written after this look is then at worst pending, never missing.
    const engine_index::LogView log = engine_core::CurrentIndexLog().ReadWholeLines();
    const std::vector<Document> documents = engine_index::LiveDocuments(log);
    std::vector<DatabaseNotes> read;
    for (int slot = 0; slot < tamsel::historySlot; ++slot)
        if (tamsel::GetSlotPath(slot, nullptr, 0))
            read.push_back(ReadDatabase(slot));
    std::map<std::string, std::vector<const Document*>> byReplica;
    for (const Document& document : documents)
        if (const std::string replica = tamsel::ReplicaOfUrl(document.url); !replica.empty())
            byReplica[replica].push_back(&document);
    for (DatabaseNotes& database : read) {
        const auto documentsOf = byReplica.find(database.survey.replica);
        if (documentsOf == byReplica.end() || database.survey.replica.empty()) {
            Compare(database, {});
            continue;
        }
        Compare(database, documentsOf->second);
        byReplica.erase(documentsOf);
    }
    for (const auto& [replica, documentsOf] : byReplica) {
        DatabaseNotes other;
        other.survey.replica = replica;
        Compare(other, documentsOf);
        read.push_back(std::move(other));
    }
    for (DatabaseNotes& database : read)
        survey.databases.push_back(std::move(database.survey));
    return survey;
}

Survey Confirmed(const Survey& first, const Survey& second, bool& changed) {
    Survey confirmed = second;
    changed = first.databases.size() != second.databases.size() ||
              first.engineIndexRemade != second.engineIndexRemade;
    for (DatabaseSurvey& database : confirmed.databases) {
        const auto before = std::find_if(
            first.databases.begin(), first.databases.end(), [&](const DatabaseSurvey& other) {
                return other.slot == database.slot && other.replica == database.replica;
            });
        if (before == first.databases.end()) {
            changed = true;
            database.findings.clear();
            continue;
        }
        // Pending notes come and go with every change: they are reported as the last look saw
        // them.
        changed = changed || before->stamp != database.stamp;
        std::set<NoteFinding> both;
        for (const NoteFinding& finding : database.findings) {
            if (finding.kind == Finding::pending || before->findings.count(finding))
                both.insert(finding);
            else
                changed = true;
        }
        for (const NoteFinding& finding : before->findings)
            changed = changed || (finding.kind != Finding::pending && !both.count(finding));
        database.findings = std::move(both);
    }
    return confirmed;
}

size_t CountOf(const Survey& survey, Finding kind) {
    size_t count = 0;
    for (const DatabaseSurvey& database : survey.databases)
        for (const NoteFinding& finding : database.findings)
            count += finding.kind == kind;
    return count;
}

} // namespace zsearch
