// Takes a volume's free space with one file, as a disk that fills up, and gives it back.
#pragma once
#include <windows.h>

#include <string>

namespace testing_support {

class VolumeFiller {
  public:
    explicit VolumeFiller(std::string folder) : filler_(std::move(folder) + "\\filler") {}
    ~VolumeFiller() { Unfill(); }
    VolumeFiller(const VolumeFiller&) = delete;
    VolumeFiller& operator=(const VolumeFiller&) = delete;

    // Takes all but about `leave` bytes of the free space; false when the file cannot be made.
    bool Fill(ULONGLONG leave);
    // Gives the space back; true when there is no filler left.
    bool Unfill();
    bool full() const { return full_; }

  private:
    std::string filler_;
    bool full_ = false;
};

} // namespace testing_support
