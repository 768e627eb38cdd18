// One database: a journal file of JSON lines. The first line is the header
//   {"replica":"<16 hex digits>","title":...,"flags":...,"created":"<time>"}
// (flags bit 0 = usable); every later line is a note version, a deletion stub (which keeps the
// originator id), an unread-mark change {"unread":user,"add":[ids],"remove":[ids]}, or a
// header change {"database":{"title":...,"flags":...}}.
//
// Opening reads every line once and keeps a small summary per note (offset, class, time) in a
// note table; a note's items are read from the file when it is opened. Rules for bad input:
//   - the file cannot be read, or its first line is JSON but not a header: kNotDatabase (259);
//   - the file is empty or its first line is not a JSON object: kNotDatabaseFile (513);
//   - a last line without its line end is not there yet (a writer may be appending);
//   - a note record that cannot be parsed makes that note answer kDamaged (550) and puts it in
//     change lists; a record whose note ID is lost stands for the next new note;
//   - a new note whose ID is not above every ID before it, or any record whose modification
//     time does not follow the one before, is skipped and reported in problems();
//   - a file that shrank since it was read has been replaced: refresh() answers kNotDatabase.
#pragma once
#include "id_list.h"
#include "journal_file.h"
#include "note.h"
#include "note_table.h"
#include "store_status.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace store {

constexpr uint32_t kUsableFlag = 0x0001;

struct DatabaseInfo {
    uint64_t replicaId = 0;
    std::string title;
    uint32_t flags = kUsableFlag;
    TimeValue created;
};

class Database {
  public:
    static Status Open(std::unique_ptr<JournalFile> file, std::unique_ptr<Database>& out);
    static Status Create(std::unique_ptr<JournalFile> file, const std::string& title,
                         std::unique_ptr<Database>& out);

    // Reads the records appended since the last look.
    Status refresh();

    const DatabaseInfo& info() const { return info_; }
    // The time of the last change; the creation time while there is none.
    TimeValue lastModified() const;
    const NoteTable& entries() const { return notes_; }
    std::optional<NoteEntry> entry(uint32_t id) const { return notes_.find(id); }
    // Skipped lines, each naming its line number and why.
    const std::vector<std::string>& problems() const { return problems_; }

    // Fills `note` and answers kOk, kStubOrMissing (a stub, whose identity is filled in),
    // kDamaged (a record that cannot be read, `error` then says why) or kNoNote.
    Status readNote(uint32_t id, Note& note, std::string* error = nullptr) const;
    // Notes of the classes in classMask changed after `since`, ascending; deletion stubs carry
    // kDeletedNoteFlag and so come last. `until` receives the time up to which the list is
    // complete.
    Status modifiedSince(TimeValue since, uint16_t classMask, IdList& ids, TimeValue& until);
    std::vector<uint32_t> unreadNotes(const std::string& user) const;
    // Every user that has notes marked unread.
    std::vector<std::string> unreadUsers() const;

    // Appends a version of `note` (a new note when its ID is 0) and fills in its ID, time and
    // originator id.
    Status putNote(Note& note);
    Status deleteNote(uint32_t id);
    Status markUnread(const std::string& user, const std::vector<uint32_t>& ids, bool unread);
    Status setHeader(const std::optional<std::string>& title, std::optional<uint32_t> flags);

  private:
    explicit Database(std::unique_ptr<JournalFile> file) : file_(std::move(file)) {}
    Status processLine(uint64_t offset, std::string_view line);
    Status readHeader(std::string_view line);
    void indexNote(uint64_t offset, std::string_view line, const struct RecordSummary& summary);
    void indexDamaged(uint64_t offset, std::string_view line);
    void applyControlRecord(const nlohmann::json& record);
    void reject(const std::string& why);
    Status appendLocked(const std::string& record);
    TimeValue nextModifiedTime() const;

    std::unique_ptr<JournalFile> file_;
    DatabaseInfo info_;
    bool headerRead_ = false;
    uint64_t scanned_ = 0;
    uint64_t lineNumber_ = 0;
    TimeValue lastModified_;
    NoteTable notes_;
    std::map<std::string, std::set<uint32_t>> unread_;
    std::vector<std::string> problems_;
};

constexpr uint32_t kDeletedNoteFlag = 0x80000000;

} // namespace store
