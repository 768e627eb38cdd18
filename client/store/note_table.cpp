#include "note_table.h"

#include <algorithm>
#include <stdexcept>

namespace store {
namespace {

bool IdBelow(const NoteEntry& entry, uint32_t id) {
    return entry.id < id;
}

} // namespace

// A page is split in two when full, so it holds at least two.
NoteTable::NoteTable(Limits limits, ScratchOpener openScratch)
    : limits_{std::max<uint32_t>(limits.pageEntries, 2),
              std::max<uint32_t>(limits.residentPages, 1)},
      openScratch_(std::move(openScratch)) {}

NoteTable::const_iterator& NoteTable::const_iterator::operator++() {
    if (++index_ == table_->pages_[page_].count) {
        ++page_;
        index_ = 0;
    }
    return *this;
}

size_t NoteTable::pageFor(uint32_t id) const {
    auto after = std::upper_bound(pages_.begin(), pages_.end(), id,
                                  [](uint32_t v, const Page& p) { return v < p.firstId; });
    return after == pages_.begin() ? 0 : static_cast<size_t>(after - pages_.begin()) - 1;
}

std::optional<NoteEntry> NoteTable::find(uint32_t id) const {
    if (pages_.empty())
        return std::nullopt;
    const auto& entries = load(pageFor(id));
    auto found = std::lower_bound(entries.begin(), entries.end(), id, IdBelow);
    if (found == entries.end() || found->id != id)
        return std::nullopt;
    return *found;
}

void NoteTable::put(const NoteEntry& entry) {
    if (pages_.empty() || entry.id > lastId_)
        return append(entry);
    const size_t index = pageFor(entry.id);
    auto& entries = load(index);
    Page& page = pages_[index];
    auto at = std::lower_bound(entries.begin(), entries.end(), entry.id, IdBelow);
    if (at != entries.end() && at->id == entry.id) {
        *at = entry;
    } else {
        if (page.count >= limits_.pageEntries) {
            split(index);
            return put(entry);
        }
        entries.insert(at, entry);
        ++page.count;
        ++size_;
        page.firstId = entries.front().id;
    }
    account(page, entry);
}

void NoteTable::append(const NoteEntry& entry) {
    if (pages_.empty() || pages_.back().count >= limits_.pageEntries) {
        Page fresh;
        fresh.firstId = entry.id;
        fresh.entries.reserve(limits_.pageEntries);
        pages_.push_back(std::move(fresh));
        ++resident_;
    }
    const size_t last = pages_.size() - 1;
    load(last).push_back(entry);
    ++pages_[last].count;
    ++size_;
    lastId_ = entry.id;
    account(pages_[last], entry);
}

void NoteTable::split(size_t index) {
    auto& entries = load(index);
    Page upper;
    const auto middle = entries.begin() + static_cast<std::ptrdiff_t>(entries.size() / 2);
    upper.entries.reserve(limits_.pageEntries);
    upper.entries.assign(middle, entries.end());
    entries.erase(middle, entries.end());
    upper.firstId = upper.entries.front().id;
    upper.count = static_cast<uint32_t>(upper.entries.size());
    upper.lastUse = ++clock_;
    Page& lower = pages_[index];
    lower.count = static_cast<uint32_t>(entries.size());
    lower.latest = {};
    lower.classes = 0;
    for (const auto& e : entries)
        account(lower, e);
    for (const auto& e : upper.entries)
        account(upper, e);
    pages_.insert(pages_.begin() + static_cast<std::ptrdiff_t>(index) + 1, std::move(upper));
    ++resident_;
}

void NoteTable::account(Page& page, const NoteEntry& entry) {
    page.dirty = true;
    page.classes |= entry.noteClass;
    if (CompareTimes(entry.modified, page.latest) > 0)
        page.latest = entry.modified;
}

void NoteTable::forEachChangedSince(TimeValue since, uint16_t classMask,
                                    const std::function<void(const NoteEntry&)>& visit) const {
    for (size_t index = 0; index < pages_.size(); ++index) {
        if (!(pages_[index].classes & classMask) || CompareTimes(pages_[index].latest, since) <= 0)
            continue;
        for (const auto& e : load(index))
            if ((e.noteClass & classMask) && CompareTimes(e.modified, since) > 0)
                visit(e);
    }
}

std::vector<NoteEntry>& NoteTable::load(size_t index) const {
    Page& page = pages_[index];
    page.lastUse = ++clock_;
    if (!page.resident) {
        page.entries.resize(page.count);
        if (!scratch_->readAt(uint64_t(page.slot) * limits_.pageEntries * sizeof(NoteEntry),
                              reinterpret_cast<char*>(page.entries.data()),
                              page.count * sizeof(NoteEntry)))
            throw std::runtime_error("the note table's scratch file cannot be read back");
        page.resident = true;
        page.dirty = false;
        ++resident_;
    }
    trim(index);
    return page.entries;
}

void NoteTable::trim(size_t keep) const {
    while (resident_ > limits_.residentPages && !scratchFailed_) {
        size_t oldest = pages_.size();
        for (size_t index = 0; index < pages_.size(); ++index)
            if (index != keep && pages_[index].resident &&
                (oldest == pages_.size() || pages_[index].lastUse < pages_[oldest].lastUse))
                oldest = index;
        if (oldest == pages_.size() || !spill(oldest))
            return;
    }
}

bool NoteTable::spill(size_t index) const {
    Page& page = pages_[index];
    if (page.dirty) {
        if (!scratch_ && !(scratch_ = openScratch_())) {
            scratchFailed_ = true;
            return false;
        }
        if (page.slot == kNoSlot)
            page.slot = slots_++;
        if (!scratch_->writeAt(uint64_t(page.slot) * limits_.pageEntries * sizeof(NoteEntry),
                               reinterpret_cast<const char*>(page.entries.data()),
                               page.count * sizeof(NoteEntry))) {
            scratchFailed_ = true;
            return false;
        }
        page.dirty = false;
    }
    std::vector<NoteEntry>().swap(page.entries);
    page.resident = false;
    --resident_;
    return true;
}

} // namespace store
