// Appending to a database. Every writer takes the file's lock, first reads what others have
// appended, and only then picks the next note ID and modification time, so that both keep
// ascending across processes.
#include "database.h"

#include <random>

namespace store {
namespace {

using nlohmann::json;

uint64_t RandomId() {
    static std::mt19937_64 generator{std::random_device{}()};
    return generator();
}

template <class Json> std::string Dump(const Json& record) {
    return record.dump(-1, ' ', false, json::error_handler_t::replace);
}

} // namespace

Status Database::Create(std::unique_ptr<JournalFile> file, const std::string& title,
                        std::unique_ptr<Database>& out) {
    if (!file)
        return kWriteFailed;
    nlohmann::ordered_json header;
    header["replica"] = HexId(RandomId());
    header["title"] = title;
    header["flags"] = kUsableFlag;
    header["created"] = TimeToText(CurrentTime());
    {
        WriterLock lock(*file);
        if (!lock.held() || file->size().value_or(1) != 0 || !file->append(Dump(header) + "\n"))
            return kWriteFailed;
    }
    return Open(std::move(file), out);
}

TimeValue Database::nextModifiedTime() const {
    const TimeValue now = CurrentTime();
    if (CompareTimes(now, lastModified()) > 0)
        return now;
    return TimeFromHundredths(*HundredthsSinceEpoch(lastModified()) + 1, 0);
}

Status Database::appendLocked(const std::string& record) {
    if (!file_->append(record + "\n"))
        return kWriteFailed;
    return refresh();
}

Status Database::putNote(Note& note) {
    WriterLock lock(*file_);
    if (!lock.held())
        return kWriteFailed;
    if (Status status = refresh(); status != kOk)
        return status;
    for (const auto& item : note.items)
        if (!ItemFitsType(item))
            return kBadArgument;
    note.modified = nextModifiedTime();
    note.deleted = false;
    if (note.id == 0) {
        note.id = notes_.lastId() + 4;
        note.originator = {info_.replicaId, RandomId(), 1, note.modified};
    } else {
        Note previous;
        const Status status = readNote(note.id, previous);
        if (status == kNoNote && note.id < notes_.lastId())
            return kBadArgument;
        note.originator = status == kNoNote ? OriginatorId{info_.replicaId, RandomId(), 0, {}}
                                            : previous.originator;
        ++note.originator.sequence;
        note.originator.sequenceTime = note.modified;
    }
    return appendLocked(NoteToRecord(note));
}

Status Database::deleteNote(uint32_t id) {
    WriterLock lock(*file_);
    if (!lock.held())
        return kWriteFailed;
    if (Status status = refresh(); status != kOk)
        return status;
    Note stub;
    const Status status = readNote(id, stub);
    if (status == kNoNote || (status != kOk && stub.id != id))
        return status;
    if (stub.deleted)
        return kStubOrMissing;
    stub.items.clear();
    stub.deleted = true;
    stub.modified = nextModifiedTime();
    ++stub.originator.sequence;
    stub.originator.sequenceTime = stub.modified;
    return appendLocked(NoteToRecord(stub));
}

Status Database::markUnread(const std::string& user, const std::vector<uint32_t>& ids,
                            bool unread) {
    WriterLock lock(*file_);
    if (!lock.held())
        return kWriteFailed;
    nlohmann::ordered_json record;
    record["unread"] = user;
    record[unread ? "add" : "remove"] = ids;
    return appendLocked(Dump(record));
}

Status Database::setHeader(const std::optional<std::string>& title, std::optional<uint32_t> flags) {
    WriterLock lock(*file_);
    if (!lock.held())
        return kWriteFailed;
    json change = json::object();
    if (title)
        change["title"] = *title;
    if (flags)
        change["flags"] = *flags;
    return appendLocked(Dump(json{{"database", change}}));
}

} // namespace store
