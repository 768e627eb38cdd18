// A database in a scratch directory, and notes to put into it.
#pragma once
#include "database.h"
#include "file_text.h"
#include "rich_text.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace store_testing {

inline std::vector<uint32_t> Listed(const store::IdList& ids) {
    return {ids.begin(), ids.end()};
}

inline store::Note Memo(const std::string& subject, const std::string& body = "Hello") {
    store::Note note;
    note.items.push_back({"Form", store::ItemType::Text, false, "Memo"});
    note.items.push_back({"Subject", store::ItemType::Text, false, subject});
    note.items.push_back(
        {"Body", store::ItemType::RichText, false, store::RichTextFromPlain(body)});
    return note;
}

class DatabaseFixture : public ::testing::Test {
  protected:
    std::unique_ptr<store::Database> Create(const std::string& title = "Mail") {
        std::unique_ptr<store::Database> database;
        EXPECT_EQ(store::Database::Create(store::OpenJournalFile(path, store::OpenMode::CreateNew),
                                          title, database),
                  store::kOk);
        return Checked(std::move(database));
    }
    std::unique_ptr<store::Database> Open(store::Status expected = store::kOk) {
        std::unique_ptr<store::Database> database;
        EXPECT_EQ(store::Database::Open(store::OpenJournalFile(path, store::OpenMode::ReadWrite),
                                        database),
                  expected);
        return expected == store::kOk ? Checked(std::move(database)) : std::move(database);
    }
    uint32_t Put(store::Database& database, store::Note note) {
        EXPECT_EQ(database.putNote(note), store::kOk);
        return note.id;
    }
    // A test fails, rather than crashes, when its database is missing.
    static std::unique_ptr<store::Database> Checked(std::unique_ptr<store::Database> database) {
        if (!database)
            throw std::runtime_error("no database");
        return database;
    }
    void Write(const std::string& text) const { testing_support::WriteFileText(path, text); }

    testing_support::TempDir dir;
    std::string path = dir.path() + "/mail.zrb";
};

} // namespace store_testing
