#include "note_database.h"

#include "item_values.h"
#include "journal_file.h"

#include <gtest/gtest.h>

#include <stdexcept>

NoteDatabase::NoteDatabase(const std::string& directory) {
    if (store::Database::Create(
            store::OpenJournalFile(directory + "\\mail.zrb", store::OpenMode::CreateNew),
            "Anna's Mail", writer_) != store::kOk)
        throw std::runtime_error("cannot create the database");
}

void NoteDatabase::CloseAll() {
    notes_.clear();
    handle_.reset();
}

NOTEID NoteDatabase::Put(std::vector<store::Item> items, uint16_t noteClass) {
    store::Note note;
    note.noteClass = noteClass;
    note.items = std::move(items);
    if (writer_->putNote(note) != store::kOk)
        throw std::runtime_error("cannot write a note");
    return note.id;
}

void NoteDatabase::MarkUnread(NOTEID id, const std::string& user) {
    if (writer_->markUnread(user, {id}, true) != store::kOk)
        throw std::runtime_error("cannot mark a note unread");
}

void NoteDatabase::Delete(NOTEID id) {
    CloseAll();
    if (writer_->deleteNote(id) != store::kOk)
        throw std::runtime_error("cannot delete a note");
}

DBHANDLE NoteDatabase::Handle() {
    if (!handle_) {
        EXPECT_EQ(StoreOpenDatabase("mail.zrb", handle_.put()), STORE_NOERROR);
    }
    return handle_.get();
}

NOTEHANDLE NoteDatabase::Open(NOTEID id) {
    const DBHANDLE database = Handle();
    tamsel::UniqueNote note;
    EXPECT_EQ(StoreOpenNote(database, id, 0, note.put()), STORE_NOERROR);
    return notes_.emplace_back(std::move(note)).get();
}

tamsel::PassContext NoteDatabase::Context() {
    tamsel::PassContext context{};
    context.database = Handle();
    return context;
}

store::Item TextItem(const std::string& name, const std::string& value) {
    return {name, store::ItemType::Text, false, value};
}

store::Item ListItem(const std::string& name, std::initializer_list<std::string> entries) {
    return {name, store::ItemType::TextList, false, nlohmann::json(entries)};
}

store::Item TimeItem(const std::string& name, const std::string& text) {
    return {name, store::ItemType::Time, false, text};
}

store::Item NumberItem(const std::string& name, double value) {
    return {name, store::ItemType::Number, false, value};
}

store::Item BodyItem(const std::string& name, const std::vector<std::string>& paragraphs) {
    nlohmann::json value = nlohmann::json::array();
    for (const std::string& paragraph : paragraphs)
        value.push_back(nlohmann::json::array({paragraph}));
    return {name, store::ItemType::RichText, false, value};
}

store::Item Sealed(store::Item item, const NoteDatabase& database) {
    item.value = store::SealValue(item.value, database.ReplicaId());
    item.sealed = true;
    return item;
}
