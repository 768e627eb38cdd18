#include "test_database.h"

#include "journal_file.h"
#include "rich_text.h"

#include <stdexcept>

namespace {

void Check(store::Status status, const std::string& what) {
    if (status != store::kOk)
        throw std::runtime_error(what + " failed with status " + std::to_string(status));
}

} // namespace

TestDatabase::TestDatabase(const std::string& path, const std::string& title) : path_(path) {
    Check(store::Database::Create(store::OpenJournalFile(path, store::OpenMode::CreateNew), title,
                                  database_),
          "creating " + path);
}

TestDatabase::TestDatabase(const std::string& path, OpenExisting) : path_(path) {
    Check(
        store::Database::Open(store::OpenJournalFile(path, store::OpenMode::ReadWrite), database_),
        "opening " + path);
}

uint32_t TestDatabase::AddMemo(const std::string& subject, const std::string& body) {
    store::Note note;
    note.items.push_back({"Form", store::ItemType::Text, false, "Memo"});
    note.items.push_back({"Subject", store::ItemType::Text, false, subject});
    note.items.push_back(
        {"Body", store::ItemType::RichText, false, store::RichTextFromPlain(body)});
    Check(database_->putNote(note), "adding " + subject);
    return note.id;
}

void TestDatabase::AddMemos(int count) {
    for (int n = 1; n <= count; ++n)
        AddMemo("Memo " + std::to_string(n));
}

void TestDatabase::Delete(uint32_t id) {
    Check(database_->deleteNote(id), "deleting a note");
}

void TestDatabase::SetFlags(uint32_t flags) {
    Check(database_->setHeader(std::nullopt, flags), "setting flags");
}
