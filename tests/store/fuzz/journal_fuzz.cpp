// Any bytes as a database file: opening, reading every note and the change list must neither
// crash nor read out of bounds.
#include "database.h"
#include "item_values.h"

#include <cstring>

namespace {

class MemoryJournal final : public store::JournalFile {
  public:
    explicit MemoryJournal(std::string bytes) : bytes_(std::move(bytes)) {}
    std::optional<uint64_t> size() override { return bytes_.size(); }
    size_t readAt(uint64_t offset, char* buffer, size_t length) override {
        if (offset >= bytes_.size())
            return 0;
        const size_t count = std::min<size_t>(length, bytes_.size() - offset);
        std::memcpy(buffer, bytes_.data() + offset, count);
        return count;
    }
    bool lock() override { return true; }
    void unlock() override {}
    bool append(std::string_view bytes) override {
        bytes_.append(bytes);
        return true;
    }

  private:
    std::string bytes_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<store::Database> database;
    auto file =
        std::make_unique<MemoryJournal>(std::string(reinterpret_cast<const char*>(data), size));
    if (store::Database::Open(std::move(file), database) != store::kOk)
        return 0;
    store::IdList ids;
    store::TimeValue until;
    database->modifiedSince(store::kEarliestTime, 0xFFFF, ids, until);
    for (uint32_t id : ids) {
        store::Note note;
        if (database->readNote(id & ~store::kDeletedNoteFlag, note) != store::kOk)
            continue;
        store::DecryptNote(note, database->info().replicaId);
        for (const auto& item : note.items) {
            store::ItemToText(item, ", ");
            store::ItemTime(item);
            store::ItemNumber(item);
        }
    }
    return 0;
}
