// A scratch directory for one test, removed with everything in it afterwards.
#pragma once
#include <string>

namespace testing_support {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "\\" + name; }

  private:
    std::string path_;
};

bool FileExists(const std::string& path);

} // namespace testing_support
