// A real client database made by a test, written through the store while the plug-in reads it
// through the client library, as another program of the client would.
#pragma once
#include "database.h"

#include <memory>
#include <string>

class TestDatabase {
  public:
    // Creates the file; throws when it cannot.
    explicit TestDatabase(const std::string& path, const std::string& title = "Mail");
    struct OpenExisting {};
    TestDatabase(const std::string& path, OpenExisting);

    // A mail memo; returns its note ID.
    uint32_t AddMemo(const std::string& subject, const std::string& body = "Hello");
    // Adds count memos; a new database numbers its notes from 1.
    void AddMemos(int count);
    void Delete(uint32_t id);
    void SetFlags(uint32_t flags);

    const std::string& path() const { return path_; }

  private:
    std::string path_;
    std::unique_ptr<store::Database> database_;
};
