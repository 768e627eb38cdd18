// The journal and scratch files on POSIX systems, for the native build and its sanitizer and
// fuzz runs.
#include "journal_file.h"
#include "scratch_file.h"

#include <cstdio>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace store {
namespace {

// Short only at the end of the file or on an error.
size_t ReadAt(int fd, uint64_t offset, char* buffer, size_t length) {
    size_t done = 0;
    while (done < length) {
        const ssize_t n =
            ::pread(fd, buffer + done, length - done, static_cast<off_t>(offset + done));
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
    return done;
}

class PosixJournalFile final : public JournalFile {
  public:
    explicit PosixJournalFile(int fd) : fd_(fd) {}
    ~PosixJournalFile() override { ::close(fd_); }

    std::optional<uint64_t> size() override {
        struct stat info {};
        if (::fstat(fd_, &info) != 0)
            return std::nullopt;
        return static_cast<uint64_t>(info.st_size);
    }
    size_t readAt(uint64_t offset, char* buffer, size_t length) override {
        return ReadAt(fd_, offset, buffer, length);
    }
    bool lock() override { return ::flock(fd_, LOCK_EX) == 0; }
    void unlock() override { ::flock(fd_, LOCK_UN); }
    bool append(std::string_view bytes) override {
        if (::lseek(fd_, 0, SEEK_END) < 0)
            return false;
        size_t done = 0;
        while (done < bytes.size()) {
            ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
            if (n <= 0)
                return false;
            done += static_cast<size_t>(n);
        }
        return true;
    }

  private:
    int fd_;
};

class PosixScratchFile final : public ScratchFile {
  public:
    explicit PosixScratchFile(std::FILE* file) : file_(file) {}
    ~PosixScratchFile() override { std::fclose(file_); }

    bool writeAt(uint64_t offset, const char* bytes, size_t length) override {
        for (size_t done = 0; done < length;) {
            const ssize_t n = ::pwrite(::fileno(file_), bytes + done, length - done,
                                       static_cast<off_t>(offset + done));
            if (n <= 0)
                return false;
            done += static_cast<size_t>(n);
        }
        return true;
    }
    bool readAt(uint64_t offset, char* buffer, size_t length) override {
        return ReadAt(::fileno(file_), offset, buffer, length) == length;
    }

  private:
    std::FILE* file_;
};

} // namespace

std::unique_ptr<ScratchFile> OpenScratchFile() {
    std::FILE* file = std::tmpfile(); // already unlinked: gone when closed
    if (!file)
        return nullptr;
    return std::make_unique<PosixScratchFile>(file);
}

std::unique_ptr<JournalFile> OpenJournalFile(const std::string& path, OpenMode mode) {
    int flags = mode == OpenMode::ReadOnly    ? O_RDONLY
                : mode == OpenMode::CreateNew ? O_RDWR | O_CREAT | O_EXCL
                                              : O_RDWR;
    int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
    if (fd < 0)
        return nullptr;
    return std::make_unique<PosixJournalFile>(fd);
}

} // namespace store
