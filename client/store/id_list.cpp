#include "id_list.h"

#include <algorithm>

namespace store {
namespace {

// Decodes one distance at `at`; false at the end or on a truncated one.
bool TakeDistance(const uint8_t*& at, const uint8_t* end, uint32_t& distance) {
    distance = 0;
    for (unsigned shift = 0; at < end && shift < 35; shift += 7) {
        const uint8_t byte = *at++;
        distance |= static_cast<uint32_t>(byte & 0x7F) << shift;
        if (!(byte & 0x80))
            return true;
    }
    return false;
}

} // namespace

IdList::const_iterator::const_iterator(const uint8_t* next, const uint8_t* end)
    : next_(next), end_(end) {
    ++*this;
}

IdList::const_iterator& IdList::const_iterator::operator++() {
    uint32_t distance = 0;
    if (TakeDistance(next_, end_, distance))
        value_ += distance;
    else
        next_ = nullptr;
    return *this;
}

bool IdList::push_back(uint32_t id) {
    if (size_ > 0 && id <= last_)
        return false;
    for (uint32_t distance = id - last_;; distance >>= 7) {
        const uint8_t low = distance & 0x7F;
        if (distance < 0x80) {
            bytes_.push_back(low);
            break;
        }
        bytes_.push_back(low | 0x80);
    }
    if (size_ % kMarkEvery == 0)
        marks_.push_back({id, static_cast<uint32_t>(bytes_.size())});
    ++size_;
    last_ = id;
    return true;
}

bool IdList::contains(uint32_t id) const {
    auto mark = std::upper_bound(marks_.begin(), marks_.end(), id,
                                 [](uint32_t v, const Mark& m) { return v < m.id; });
    if (mark == marks_.begin())
        return false;
    --mark;
    uint32_t value = mark->id;
    const uint8_t* at = bytes_.data() + mark->after;
    const uint8_t* end = bytes_.data() + bytes_.size();
    for (size_t left = kMarkEvery - 1; value < id && left > 0; --left) {
        uint32_t distance = 0;
        if (!TakeDistance(at, end, distance))
            break;
        value += distance;
    }
    return value == id;
}

IdList::const_iterator IdList::begin() const {
    return {bytes_.data(), bytes_.data() + bytes_.size()};
}

IdList::const_iterator IdList::end() const {
    return {};
}

} // namespace store
