// Opening a database and following its journal.
#include "database.h"
#include "journal_scan.h"

#include <algorithm>
#include <cstring>

namespace store {
namespace {

constexpr size_t kReadChunk = 1 << 20;
constexpr size_t kMaxProblemsKept = 100;

using nlohmann::json;

} // namespace

Status Database::Open(std::unique_ptr<JournalFile> file, std::unique_ptr<Database>& out) {
    if (!file)
        return kNotDatabase;
    std::unique_ptr<Database> database(new Database(std::move(file)));
    Status status = database->refresh();
    if (status == kOk && !database->headerRead_)
        status = kNotDatabaseFile;
    if (status == kOk)
        out = std::move(database);
    return status;
}

Status Database::refresh() {
    const auto size = file_->size();
    if (!size || *size < scanned_)
        return kNotDatabase;
    std::vector<char> chunk(std::min<uint64_t>(kReadChunk, *size - scanned_));
    std::string carry;
    uint64_t lineStart = scanned_, position = scanned_;
    while (position < *size) {
        const size_t got =
            file_->readAt(position, chunk.data(),
                          static_cast<size_t>(std::min<uint64_t>(chunk.size(), *size - position)));
        if (got == 0)
            break;
        position += got;
        const char* cursor = chunk.data();
        const char* end = cursor + got;
        while (cursor < end) {
            const char* lineEnd = static_cast<const char*>(std::memchr(cursor, '\n', end - cursor));
            if (!lineEnd) {
                carry.append(cursor, end);
                break;
            }
            std::string_view line(cursor, lineEnd - cursor);
            if (!carry.empty()) {
                carry.append(cursor, lineEnd);
                line = carry;
            }
            const uint64_t lineLength = line.size();
            if (Status status = processLine(lineStart, line); status != kOk)
                return status;
            lineStart += lineLength + 1;
            carry.clear();
            cursor = lineEnd + 1;
        }
    }
    scanned_ = lineStart;
    return kOk;
}

Status Database::processLine(uint64_t offset, std::string_view line) {
    ++lineNumber_;
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (!headerRead_)
        return readHeader(line);
    if (line.find_first_not_of(" \t") == std::string_view::npos)
        return kOk;
    if (auto summary = ScanNotePrefix(line)) {
        indexNote(offset, line, *summary);
        return kOk;
    }
    std::string error;
    if (auto note = NoteFromRecord(line, error)) {
        indexNote(offset, line, {note->id, note->noteClass, note->modified, note->deleted});
        return kOk;
    }
    const json record = ParseJsonText(line);
    if (record.is_object() && (record.contains("unread") || record.contains("database"))) {
        applyControlRecord(record);
        return kOk;
    }
    if (record.is_discarded() || LeadingNoteId(line))
        indexDamaged(offset, line);
    reject("not a record that can be read");
    return kOk;
}

// A broken record still stands for a note: the one its start names, else the next new note
// (new notes are numbered upwards in fours). That note becomes unreadable, rather than silently
// keeping an older version or vanishing, and its time just after the record before puts it in
// the change lists of the callers that have not seen that far.
void Database::indexDamaged(uint64_t offset, std::string_view line) {
    const uint32_t id = LeadingNoteId(line).value_or(notes_.lastId() + 4);
    if (id == 0)
        return;
    const auto since = HundredthsSinceEpoch(lastModified());
    const auto known = notes_.find(id);
    notes_.put({id, known ? known->noteClass : NoteClass::Document, false, true,
                since ? TimeFromHundredths(*since + 1, 0) : lastModified(), offset,
                static_cast<uint32_t>(line.size())});
}

Status Database::readHeader(std::string_view line) {
    const json header = ParseJsonText(line);
    if (!header.is_object())
        return kNotDatabaseFile;
    auto replica = header.contains("replica") && header["replica"].is_string()
                       ? ParseHexId(header["replica"].get_ref<const std::string&>())
                       : std::nullopt;
    if (!replica)
        return kNotDatabase;
    info_.replicaId = *replica;
    info_.title = FieldOr(header, "title", std::string());
    if (header.contains("flags") && header["flags"].is_number_unsigned())
        info_.flags = header["flags"].get<uint32_t>();
    if (header.contains("created") && header["created"].is_string())
        info_.created = TextToTime(header["created"].get<std::string>()).value_or(kEarliestTime);
    headerRead_ = true;
    return kOk;
}

void Database::indexNote(uint64_t offset, std::string_view line, const RecordSummary& summary) {
    if (summary.noteId == 0)
        return reject("note ID 0");
    if (CompareTimes(summary.modified, lastModified_) <= 0)
        return reject("modification time does not follow the record before");
    NoteEntry fresh{summary.noteId,
                    summary.noteClass,
                    summary.deleted,
                    false,
                    summary.modified,
                    offset,
                    static_cast<uint32_t>(line.size())};
    if (summary.noteId < notes_.lastId() && !notes_.find(summary.noteId))
        return reject("new note ID " + std::to_string(summary.noteId) + " below an earlier one");
    notes_.put(fresh);
    lastModified_ = summary.modified;
}

void Database::applyControlRecord(const json& record) {
    if (record.contains("database") && record["database"].is_object()) {
        const json& change = record["database"];
        if (change.contains("title") && change["title"].is_string())
            info_.title = change["title"].get<std::string>();
        if (change.contains("flags") && change["flags"].is_number_unsigned())
            info_.flags = change["flags"].get<uint32_t>();
        return;
    }
    const std::string user = FieldOr(record, "unread", std::string());
    if (user.empty())
        return reject("unread marks without a user name");
    auto& marks = unread_[user];
    for (const char* key : {"add", "remove"}) {
        if (!record.contains(key) || !record[key].is_array())
            continue;
        for (const auto& id : record[key])
            if (id.is_number_unsigned())
                key[0] == 'a' ? (void)marks.insert(id.get<uint32_t>())
                              : (void)marks.erase(id.get<uint32_t>());
    }
}

void Database::reject(const std::string& why) {
    if (problems_.size() < kMaxProblemsKept)
        problems_.push_back("record " + std::to_string(lineNumber_) + ": " + why);
}

TimeValue Database::lastModified() const {
    return lastModified_ == kEarliestTime ? info_.created : lastModified_;
}

Status Database::readNote(uint32_t id, Note& note, std::string* error) const {
    const auto found = notes_.find(id);
    if (!found)
        return kNoNote;
    std::string line(found->length, '\0');
    std::string why = "record is corrupt";
    if (!found->corrupt && file_->readAt(found->offset, line.data(), line.size()) == line.size()) {
        auto parsed = NoteFromRecord(line, why);
        if (parsed && parsed->id == id) {
            note = std::move(*parsed);
            return note.deleted ? kStubOrMissing : kOk;
        }
    }
    if (error)
        *error = "note " + std::to_string(id) + ": " + why;
    return kDamaged;
}

Status Database::modifiedSince(TimeValue since, uint16_t classMask, IdList& ids, TimeValue& until) {
    if (Status status = refresh(); status != kOk)
        return status;
    // Ascending with the flag as part of the ID, so stubs come after every live note: a walk
    // interrupted at a stub has handled all live notes.
    ids = IdList();
    IdList stubs;
    notes_.forEachChangedSince(since, classMask, [&](const NoteEntry& e) {
        e.deleted ? stubs.push_back(e.id | kDeletedNoteFlag) : ids.push_back(e.id);
    });
    for (const uint32_t stub : stubs)
        ids.push_back(stub);
    until = CompareTimes(lastModified(), since) > 0 ? lastModified() : since;
    return ids.empty() ? kNotModified : kOk;
}

std::vector<uint32_t> Database::unreadNotes(const std::string& user) const {
    auto found = unread_.find(user);
    if (found == unread_.end())
        return {};
    return {found->second.begin(), found->second.end()};
}

std::vector<std::string> Database::unreadUsers() const {
    std::vector<std::string> users;
    for (const auto& [user, marks] : unread_)
        if (!marks.empty())
            users.push_back(user);
    return users;
}

} // namespace store
