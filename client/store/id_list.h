// An ascending list of note IDs, as the client's ID tables hold them. Each ID is kept as its
// distance from the one before, seven bits a byte, so a change list of a million new notes
// (numbered four apart) takes one megabyte instead of four. Every 128th ID is also kept whole
// with its place, so that looking one up decodes at most 127 others.
#pragma once
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <vector>

namespace store {

class IdList {
  public:
    class const_iterator {
      public:
        using iterator_category = std::input_iterator_tag;
        using value_type = uint32_t;
        using difference_type = std::ptrdiff_t;
        using pointer = const uint32_t*;
        using reference = uint32_t;

        const_iterator() = default;
        uint32_t operator*() const { return value_; }
        const_iterator& operator++();
        const_iterator operator++(int) {
            const_iterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(const const_iterator& other) const { return next_ == other.next_; }

      private:
        friend class IdList;
        const_iterator(const uint8_t* next, const uint8_t* end);
        // Past the bytes of the current ID; null at the end.
        const uint8_t* next_ = nullptr;
        const uint8_t* end_ = nullptr;
        uint32_t value_ = 0;
    };

    // False, and nothing added, unless `id` is above the last one.
    bool push_back(uint32_t id);
    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    bool contains(uint32_t id) const;

    const_iterator begin() const;
    const_iterator end() const;

  private:
    struct Mark {
        uint32_t id;
        uint32_t after; // where the next ID's bytes start
    };
    static constexpr size_t kMarkEvery = 128;

    std::vector<uint8_t> bytes_;
    std::vector<Mark> marks_;
    size_t size_ = 0;
    uint32_t last_ = 0;
};

} // namespace store
