// The few file operations the store needs, so that the core stays free of any platform API.
// Readers never lock: a record is only complete once its line end is written, and a torn last
// line is left for the next look. Writers append under an exclusive lock, so two processes
// never interleave records. Calls on one file never overlap (a database is used under one lock),
// so an implementation may read at its file pointer.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace store {

class JournalFile {
  public:
    virtual ~JournalFile() = default;
    // Current size, or empty when the file can no longer be examined.
    virtual std::optional<uint64_t> size() = 0;
    // Reads up to `length` bytes at `offset`; returns the count read (short at end of file).
    virtual size_t readAt(uint64_t offset, char* buffer, size_t length) = 0;
    // Blocks until this process holds the writers' lock.
    virtual bool lock() = 0;
    virtual void unlock() = 0;
    // Writes at the end of the file; only called while locked.
    virtual bool append(std::string_view bytes) = 0;
};

enum class OpenMode { ReadWrite, ReadOnly, CreateNew };

// Each platform supplies this one: empty when the file cannot be opened (or, for CreateNew,
// already exists).
std::unique_ptr<JournalFile> OpenJournalFile(const std::string& path, OpenMode mode);

class WriterLock {
  public:
    explicit WriterLock(JournalFile& file) : file_(file), held_(file.lock()) {}
    ~WriterLock() {
        if (held_)
            file_.unlock();
    }
    WriterLock(const WriterLock&) = delete;
    WriterLock& operator=(const WriterLock&) = delete;
    bool held() const { return held_; }

  private:
    JournalFile& file_;
    bool held_;
};

} // namespace store
