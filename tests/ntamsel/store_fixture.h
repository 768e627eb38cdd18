// A data directory with a mail database, written through the store core, read through the
// real ntamsel.dll.
#pragma once
#include "database.h"
#include "ntamsel.h"
#include "rich_text.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <stdexcept>

class StoreApiFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(StoreClientInit(dir.path().c_str(), 0), STORE_NOERROR);
        if (store::Database::Create(store::OpenJournalFile(path, store::OpenMode::CreateNew),
                                    "Anna's Mail", writer) != store::kOk)
            throw std::runtime_error("cannot create " + path);
    }
    void TearDown() override {
        if (database)
            StoreCloseDatabase(database);
        StoreClientInit(nullptr, 0);
    }
    NOTEID Put(std::vector<store::Item> items) {
        store::Note note;
        note.items = std::move(items);
        if (writer->putNote(note) != store::kOk)
            throw std::runtime_error("cannot write a note");
        return note.id;
    }
    NOTEID PutMemo(const std::string& subject, const std::string& body = "Hello") {
        return Put({{"Form", store::ItemType::Text, false, "Memo"},
                    {"Subject", store::ItemType::Text, false, subject},
                    {"Body", store::ItemType::RichText, false, store::RichTextFromPlain(body)}});
    }
    void OpenMail() { ASSERT_EQ(StoreOpenDatabase("mail.zrb", &database), STORE_NOERROR); }

    testing_support::TempDir dir;
    std::string path = dir.path() + "\\mail.zrb";
    std::unique_ptr<store::Database> writer;
    DBHANDLE database = 0;
};
