#include "client_library.h"

#include "setup_error.h"
#include "unicode_text.h"

#include <vector>

namespace setup {
namespace {

// The library exports by ordinal only (see its .def file).
constexpr WORD ordinalGetEnvString = 6;
constexpr WORD ordinalSetEnvString = 8;
constexpr WORD ordinalGetDataDirectory = 10;
constexpr WORD ordinalClientInit = 200;

// The longest text a variable can hold, as the library's buffer size is a WORD.
constexpr WORD valueBufferSize = 0xFFFF;

template <typename Function> Function Export(HMODULE module, WORD ordinal) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(module, MAKEINTRESOURCEA(ordinal))));
}

} // namespace

ClientLibrary::ClientLibrary(const std::wstring& clientFolder) {
    std::wstring path = clientFolder;
    if (!path.empty() && path.back() != L'\\')
        path += L'\\';
    path += L"ntamsel.dll";
    // The client's folder, not the installer's, is where the library's own imports live.
    module_.reset(LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    if (!module_)
        throw SetupError{L"The Velmora Tamsel client's library cannot be loaded from " + path +
                         L" (error " + std::to_wstring(GetLastError()) + L")."};
    clientInit_ = Export<decltype(clientInit_)>(module_.get(), ordinalClientInit);
    getDataDirectory_ = Export<decltype(getDataDirectory_)>(module_.get(), ordinalGetDataDirectory);
    getEnvString_ = Export<decltype(getEnvString_)>(module_.get(), ordinalGetEnvString);
    setEnvString_ = Export<decltype(setEnvString_)>(module_.get(), ordinalSetEnvString);
    if (!clientInit_ || !getDataDirectory_ || !getEnvString_ || !setEnvString_)
        throw SetupError{L"The Velmora Tamsel client's library " + path +
                         L" lacks the settings operations: the client is too old."};
}

std::string ClientLibrary::DataDirectory() const {
    char directory[STORE_PATH_SIZE] = "";
    return std::string(directory, getDataDirectory_(directory));
}

void ClientLibrary::UseDataDirectory(const std::string& directory) const {
    if (clientInit_(directory.c_str(), 0) != STORE_NOERROR)
        throw SetupError{L"The Velmora Tamsel client's data directory " + Wide(directory) +
                         L" is not there."};
}

std::optional<std::string> ClientLibrary::Read(const std::string& name) const {
    std::vector<char> value(valueBufferSize);
    if (!getEnvString_(name.c_str(), value.data(), valueBufferSize))
        return std::nullopt;
    return std::string(value.data());
}

STORESTATUS ClientLibrary::Write(const std::string& name, const std::string& value) const {
    return setEnvString_(name.c_str(), value.c_str());
}

} // namespace setup
