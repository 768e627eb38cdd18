// A database in the test's data directory, written through the store core and read through
// the client library as the plug-in reads it.
#pragma once
#include "database.h"
#include "ntamsel.h"
#include "state/pass_context.h"
#include "store_owners.h"

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

class NoteDatabase {
  public:
    // "mail.zrb", titled "Anna's Mail".
    explicit NoteDatabase(const std::string& directory);
    NoteDatabase(const NoteDatabase&) = delete;
    NoteDatabase& operator=(const NoteDatabase&) = delete;

    NOTEID Put(std::vector<store::Item> items, uint16_t noteClass = store::NoteClass::Document);
    void MarkUnread(NOTEID id, const std::string& user);
    // Leaves a stub; notes opened so far are closed and the database is read afresh.
    void Delete(NOTEID id);
    NOTEHANDLE Open(NOTEID id);
    DBHANDLE Handle();
    // A fresh context of a pass over this database.
    tamsel::PassContext Context();
    uint64_t ReplicaId() const { return writer_->info().replicaId; }

  private:
    void CloseAll();

    std::unique_ptr<store::Database> writer_;
    tamsel::UniqueDatabase handle_;
    std::vector<tamsel::UniqueNote> notes_; // closed before the database
};

store::Item TextItem(const std::string& name, const std::string& value);
store::Item ListItem(const std::string& name, std::initializer_list<std::string> entries);
store::Item TimeItem(const std::string& name, const std::string& text);
store::Item NumberItem(const std::string& name, double value);
store::Item BodyItem(const std::string& name, const std::vector<std::string>& paragraphs);
// The item encrypted with the database's key, as the client keeps it until decrypted.
store::Item Sealed(store::Item item, const NoteDatabase& database);
