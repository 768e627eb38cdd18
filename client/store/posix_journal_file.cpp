// The journal file on POSIX systems, for the native build and its sanitizer and fuzz runs.
#include "journal_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace store {
namespace {

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
        size_t done = 0;
        while (done < length) {
            ssize_t n =
                ::pread(fd_, buffer + done, length - done, static_cast<off_t>(offset + done));
            if (n <= 0)
                break;
            done += static_cast<size_t>(n);
        }
        return done;
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

} // namespace

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
