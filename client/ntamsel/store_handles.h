// The objects behind the library's database, note and ID-table handles. One lock guards them
// all: callers are the plug-in's indexing thread and its dialog, never many at once.
#pragma once
#include "database.h"
#include "formula.h"
#include "ntamsel.h"

#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace ntamsel {

struct OpenDatabase {
    std::unique_ptr<store::Database> database;
};

struct OpenNote {
    DBHANDLE database = 0;
    store::Note note;
};

struct IdTable {
    // Ascending by note ID. Shared, so that a walk holds the list without copying it while
    // its callback may free the table.
    std::shared_ptr<const store::IdList> ids;
};

// Rich text being built for an item of a note.
struct Compound {
    NOTEHANDLE note = 0;
    std::string itemName;
    nlohmann::json paragraphs = nlohmann::json::array();
    DWORD styles = 0;
};

struct Computation {
    std::optional<store::Formula> formula;
};

struct MemoryBlock {
    std::vector<char> bytes;
};

std::mutex& StoreLock();
DWORD NextHandle();

// Handles of all kinds come from one counter, so a handle of one kind never finds another.
template <class T> class HandleTable {
  public:
    DWORD add(std::unique_ptr<T> object) {
        const DWORD handle = NextHandle();
        objects_[handle] = std::move(object);
        return handle;
    }
    T* find(DWORD handle) {
        auto found = objects_.find(handle);
        return found == objects_.end() ? nullptr : found->second.get();
    }
    bool remove(DWORD handle) { return objects_.erase(handle) != 0; }

  private:
    std::map<DWORD, std::unique_ptr<T>> objects_;
};

template <class T> HandleTable<T>& Handles() {
    static HandleTable<T> table;
    return table;
}

// Runs an operation under the store lock; memory running out becomes a status, never an
// exception across the library's border.
template <class Operation> STORESTATUS Guarded(Operation operation) {
    try {
        std::lock_guard guard(StoreLock());
        return operation();
    } catch (...) {
        return STORE_ERR_NO_MEMORY;
    }
}

// Closes or frees the object behind a handle of kind T.
template <class T> STORESTATUS ReleaseHandle(DWORD handle) {
    return Guarded([&] {
        return STORESTATUS(Handles<T>().remove(handle) ? STORE_NOERROR : STORE_ERR_BAD_ARGUMENT);
    });
}

store::TimeValue ToValue(const STORETIME& time);
STORETIME ToStoreTime(store::TimeValue value);
STOREID8 ToId8(uint64_t value);

} // namespace ntamsel
