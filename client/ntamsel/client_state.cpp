#include "client_state.h"

#include "ntamsel.h"
#include "text_convert.h"

#include <atomic>
#include <cstdlib>
#include <mutex>

namespace ntamsel {
namespace {

std::mutex stateLock;
std::string dataDirectory;
bool configured = false;
std::atomic<bool> echoLog{false};
std::atomic<bool> terminationPending{false};

std::string WithoutTrailingSeparator(std::string path) {
    while (path.size() > 1 && (path.back() == '\\' || path.back() == '/'))
        path.pop_back();
    return path;
}

// Where the client's installation recorded the user's data directory; empty when nowhere.
std::string RecordedDataDirectory() {
    wchar_t path[STORE_PATH_SIZE];
    DWORD size = sizeof path;
    if (RegGetValueW(HKEY_CURRENT_USER, STORE_CLIENT_KEY, STORE_DATA_DIRECTORY_VALUE, RRF_RT_REG_SZ,
                     nullptr, path, &size) != ERROR_SUCCESS)
        return {};
    return WideToUtf8(path);
}

} // namespace

std::string DataDirectory() {
    std::lock_guard guard(stateLock);
    if (!configured) {
        const char* fromEnvironment = std::getenv("TAMSEL_DATA");
        const std::string path = fromEnvironment ? fromEnvironment : RecordedDataDirectory();
        if (path.size() < STORE_PATH_SIZE)
            dataDirectory = WithoutTrailingSeparator(path);
        configured = true;
    }
    return dataDirectory;
}

std::wstring DataFilePath(const wchar_t* fileName) {
    const std::string directory = DataDirectory();
    if (directory.empty())
        return {};
    return Utf8ToWide(directory) + L"\\" + fileName;
}

bool EchoLogToStdout() {
    return echoLog;
}

} // namespace ntamsel

using namespace ntamsel;

extern "C" STORESTATUS WINAPI StoreClientInit(const char* directory, DWORD options) {
    std::lock_guard guard(stateLock);
    echoLog = (options & STORE_INIT_ECHO_LOG) != 0;
    terminationPending = false;
    if (!directory) {
        dataDirectory.clear();
        configured = true;
        return STORE_NOERROR;
    }
    std::string path = WithoutTrailingSeparator(directory);
    if (path.empty() || path.size() >= 256)
        return STORE_ERR_BAD_ARGUMENT;
    const DWORD attributes = GetFileAttributesW(Utf8ToWide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return STORE_ERR_BAD_ARGUMENT;
    dataDirectory = std::move(path);
    configured = true;
    return STORE_NOERROR;
}

extern "C" void WINAPI StoreClientShutdown(void) {
    terminationPending = true;
}

extern "C" BOOL WINAPI StoreTerminationPending(void) {
    return terminationPending ? TRUE : FALSE;
}

extern "C" STORESTATUS WINAPI StoreThreadInit(void) {
    return DataDirectory().empty() ? STORE_ERR_NOT_INITIALISED : STORE_NOERROR;
}

extern "C" void WINAPI StoreThreadTerm(void) {}

extern "C" WORD WINAPI StoreGetDataDirectory(char* buffer) {
    if (!buffer)
        return 0;
    const std::string directory = DataDirectory();
    const size_t length = CopyBounded(directory, buffer, 256);
    return static_cast<WORD>(length);
}
