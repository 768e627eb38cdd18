// The note table and the ID list against plain containers, with pages small enough that every
// change moves pages to and from the scratch file.
#include "id_list.h"
#include "note_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <ostream>
#include <random>
#include <string>

using namespace store;

namespace {

// In memory, and failing every write after the first `writesAllowed`.
class MemoryScratch final : public ScratchFile {
  public:
    explicit MemoryScratch(int writesAllowed) : writesLeft_(writesAllowed) {}
    bool writeAt(uint64_t offset, const char* bytes, size_t length) override {
        if (writesLeft_-- <= 0)
            return false;
        if (bytes_.size() < offset + length)
            bytes_.resize(offset + length);
        std::memcpy(bytes_.data() + offset, bytes, length);
        return true;
    }
    bool readAt(uint64_t offset, char* buffer, size_t length) override {
        if (offset + length > bytes_.size())
            return false;
        std::memcpy(buffer, bytes_.data() + offset, length);
        return true;
    }

  private:
    int writesLeft_;
    std::string bytes_;
};

TimeValue At(uint32_t hundredths) {
    return {hundredths, 2'461'000};
}

bool operator==(const NoteEntry& a, const NoteEntry& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

struct TableCase {
    const char* what;
    NoteTable::Limits limits;
    int writesAllowed; // -1: the platform's scratch file
    bool scratchOpens;
};

void PrintTo(const TableCase& c, std::ostream* out) {
    *out << c.what;
}

class NoteTableAgainstMap : public ::testing::TestWithParam<TableCase> {};

// Appends, replacements and inserts below the last ID, in random order, then every question
// the database asks; the answers must be the map's.
TEST_P(NoteTableAgainstMap, AnswersAsAnOrderedMapDoes) {
    const TableCase& c = GetParam();
    NoteTable::ScratchOpener open = OpenScratchFile;
    if (c.writesAllowed >= 0 || !c.scratchOpens)
        open = [&c]() -> std::unique_ptr<ScratchFile> {
            if (!c.scratchOpens)
                return nullptr;
            return std::make_unique<MemoryScratch>(c.writesAllowed);
        };
    NoteTable table(c.limits, open);
    std::map<uint32_t, NoteEntry> model;
    std::mt19937 random(7);
    uint32_t clock = 0, nextId = 4;
    for (int step = 0; step < 3000; ++step) {
        NoteEntry entry;
        const int kind = static_cast<int>(random() % 10);
        if (kind < 6 || model.empty())
            entry.id = nextId += 4 * (1 + random() % 3);
        else if (kind < 9)
            entry.id = std::next(model.begin(), random() % model.size())->first;
        else
            entry.id = 1 + 4 * (random() % (nextId / 4)); // between the ones written
        entry.noteClass = static_cast<uint16_t>(1u << (random() % 3));
        entry.deleted = random() % 7 == 0;
        entry.modified = At(++clock);
        entry.offset = uint64_t(step) << 20;
        entry.length = static_cast<uint32_t>(step);
        table.put(entry);
        model[entry.id] = entry;
    }

    ASSERT_EQ(table.size(), model.size()) << c.what;
    EXPECT_EQ(table.lastId(), model.rbegin()->first);
    EXPECT_TRUE(table.front() == model.begin()->second);
    auto expected = model.begin();
    for (const NoteEntry& entry : table) {
        ASSERT_NE(expected, model.end());
        EXPECT_TRUE(entry == expected->second) << c.what << ": note " << entry.id;
        ++expected;
    }
    EXPECT_EQ(expected, model.end());
    for (uint32_t id = 0; id <= nextId + 4; ++id) {
        const auto found = table.find(id);
        const auto known = model.find(id);
        ASSERT_EQ(found.has_value(), known != model.end()) << c.what << ": note " << id;
        if (found) {
            EXPECT_TRUE(*found == known->second) << c.what << ": note " << id;
        }
    }
    for (const uint32_t since : {0u, 1500u, 2990u, 3000u})
        for (const uint16_t mask : {uint16_t(1), uint16_t(6), uint16_t(0xFFFF)}) {
            std::vector<uint32_t> listed, wanted;
            table.forEachChangedSince(At(since), mask,
                                      [&](const NoteEntry& e) { listed.push_back(e.id); });
            for (const auto& [id, e] : model)
                if ((e.noteClass & mask) && e.modified.timeOfDay > since)
                    wanted.push_back(id);
            EXPECT_EQ(listed, wanted) << c.what << ": since " << since << ", classes " << mask;
        }
}

INSTANTIATE_TEST_SUITE_P(
    Limits, NoteTableAgainstMap,
    ::testing::Values(TableCase{"everything in memory", {4096, 8}, -1, true},
                      TableCase{"pages of two, one in memory", {2, 1}, 1 << 20, true},
                      TableCase{"pages of five, three in memory", {5, 3}, 1 << 20, true},
                      TableCase{"the platform's scratch file", {16, 2}, -1, true},
                      TableCase{"no scratch file can be made", {4, 2}, 0, false},
                      TableCase{"the scratch file fills up after ten pages", {4, 2}, 10, true}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

struct IdListCase {
    const char* what;
    std::vector<uint32_t> ids;
};

TEST(IdList, HoldsAndFindsWhatWasPut) {
    std::vector<uint32_t> fours, scattered;
    for (uint32_t id = 4; id <= 4000; id += 4)
        fours.push_back(id);
    std::mt19937 random(11);
    for (uint32_t id = 0; scattered.size() < 700;)
        scattered.push_back(id += 1 + random() % 100'000);
    const IdListCase cases[] = {
        {"empty", {}},
        {"ID zero alone", {0}},
        {"a thousand new notes", fours},
        {"gaps of every width", scattered},
        {"live notes then stubs", {4, 8, 0x80000004, 0x80000010, 0xFFFFFFFF}},
    };
    for (const auto& c : cases) {
        IdList list;
        for (const uint32_t id : c.ids)
            ASSERT_TRUE(list.push_back(id)) << c.what;
        EXPECT_EQ(list.size(), c.ids.size()) << c.what;
        EXPECT_EQ(std::vector<uint32_t>(list.begin(), list.end()), c.ids) << c.what;
        for (const uint32_t id : c.ids) {
            EXPECT_TRUE(list.contains(id)) << c.what << ": " << id;
            for (const uint32_t near : {id - 1, id + 1})
                EXPECT_EQ(list.contains(near),
                          std::find(c.ids.begin(), c.ids.end(), near) != c.ids.end())
                    << c.what << ": " << near;
        }
        if (!c.ids.empty()) {
            EXPECT_FALSE(list.push_back(c.ids.back())) << c.what << ": not above the last";
            EXPECT_EQ(list.size(), c.ids.size());
        }
    }
}

} // namespace
