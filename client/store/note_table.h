// The summaries of a database's notes, in ascending ID order. They are kept in pages of which
// only a few stay in memory; the others wait in a scratch file, so that a database of a million
// notes costs the process about what one of thirty thousand does. Each page knows its latest
// modification time and the classes it holds, so a change list reads only the pages changed
// since. Without a scratch file every page stays in memory: slower to nobody, only larger.
#pragma once
#include "scratch_file.h"
#include "store_time.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <vector>

namespace store {

// Packed: 28 bytes, not 32, since every note has one.
#pragma pack(push, 4)
struct NoteEntry {
    uint32_t id = 0;
    uint16_t noteClass = 0;
    bool deleted = false;
    bool corrupt = false;
    TimeValue modified;
    uint64_t offset = 0;
    uint32_t length = 0;
};
#pragma pack(pop)
static_assert(sizeof(NoteEntry) == 28);

class NoteTable {
  public:
    struct Limits {
        uint32_t pageEntries = 4096; // 112 KB
        uint32_t residentPages = 8;
    };

    // Entries by value: reading one may bring its page back from the scratch file.
    class const_iterator {
      public:
        using iterator_category = std::input_iterator_tag;
        using value_type = NoteEntry;
        using difference_type = std::ptrdiff_t;
        using pointer = const NoteEntry*;
        using reference = NoteEntry;

        NoteEntry operator*() const { return table_->at(page_, index_); }
        const_iterator& operator++();
        const_iterator operator++(int) {
            const_iterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(const const_iterator&) const = default;

      private:
        friend class NoteTable;
        const_iterator(const NoteTable* table, size_t page) : table_(table), page_(page) {}
        const NoteTable* table_ = nullptr;
        size_t page_ = 0;
        uint32_t index_ = 0;
    };

    using ScratchOpener = std::function<std::unique_ptr<ScratchFile>()>;

    NoteTable() : NoteTable(Limits{}) {}
    explicit NoteTable(Limits limits, ScratchOpener openScratch = OpenScratchFile);

    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    // The highest ID; 0 while empty.
    uint32_t lastId() const { return lastId_; }
    std::optional<NoteEntry> find(uint32_t id) const;
    // Adds the entry in its place, or replaces the one with its ID.
    void put(const NoteEntry& entry);
    // Visits, in ID order, the entries of a class in classMask modified after `since`. Pages
    // with none are not read. `visit` must not use this table.
    void forEachChangedSince(TimeValue since, uint16_t classMask,
                             const std::function<void(const NoteEntry&)>& visit) const;

    // Only while not empty.
    NoteEntry front() const { return *begin(); }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, pages_.size()}; }

  private:
    static constexpr uint32_t kNoSlot = UINT32_MAX;

    struct Page {
        uint32_t firstId = 0;
        uint32_t count = 0;
        TimeValue latest;
        uint16_t classes = 0;
        bool resident = true;
        bool dirty = true;
        uint32_t slot = kNoSlot; // its place in the scratch file, once written
        uint64_t lastUse = 0;
        std::vector<NoteEntry> entries; // while resident
    };

    NoteEntry at(size_t page, uint32_t index) const { return load(page)[index]; }
    // The page where `id` is or would go.
    size_t pageFor(uint32_t id) const;
    std::vector<NoteEntry>& load(size_t page) const;
    void append(const NoteEntry& entry);
    void split(size_t page);
    static void account(Page& page, const NoteEntry& entry);
    // Writes out the least recently used pages until few enough are in memory; `keep` stays.
    void trim(size_t keep) const;
    bool spill(size_t page) const;

    Limits limits_;
    ScratchOpener openScratch_;
    // Reading a page in changes what is in memory, not what the table holds.
    mutable std::vector<Page> pages_;
    mutable std::unique_ptr<ScratchFile> scratch_;
    mutable bool scratchFailed_ = false;
    mutable uint32_t slots_ = 0;
    mutable size_t resident_ = 0;
    mutable uint64_t clock_ = 0;
    size_t size_ = 0;
    uint32_t lastId_ = 0;
};

} // namespace store
