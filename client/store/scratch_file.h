// A private file for what a process need not keep in memory. It is the process's own: nobody
// else opens it, and it is gone when closed.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

namespace store {

class ScratchFile {
  public:
    virtual ~ScratchFile() = default;
    // Both answer false unless every byte was moved.
    virtual bool writeAt(uint64_t offset, const char* bytes, size_t length) = 0;
    virtual bool readAt(uint64_t offset, char* buffer, size_t length) = 0;
};

// Each platform supplies this one, beside OpenJournalFile: empty when no file can be made.
std::unique_ptr<ScratchFile> OpenScratchFile();

} // namespace store
