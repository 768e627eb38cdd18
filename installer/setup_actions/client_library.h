// The client's own library (ntamsel.dll), loaded from the client's folder: the installer reads
// and writes the client's settings the way the client does (its data directory rule, its file
// format and its lock against a running client), never by editing the file itself.
#pragma once
#include "ntamsel.h"
#include "unique_resource.h"

#include <optional>
#include <string>

namespace setup {

class ClientLibrary {
  public:
    // Throws SetupError when the folder holds no usable library.
    explicit ClientLibrary(const std::wstring& clientFolder);

    // The user's data directory as the client finds it; empty when the client has none.
    std::string DataDirectory() const;
    // Throws SetupError when the directory is not there.
    void UseDataDirectory(const std::string& directory) const;

    std::optional<std::string> Read(const std::string& name) const;
    STORESTATUS Write(const std::string& name, const std::string& value) const;

  private:
    win32::UniqueLibrary module_;
    decltype(&StoreClientInit) clientInit_ = nullptr;
    decltype(&StoreGetDataDirectory) getDataDirectory_ = nullptr;
    decltype(&StoreGetEnvString) getEnvString_ = nullptr;
    decltype(&StoreSetEnvString) setEnvString_ = nullptr;
};

} // namespace setup
