#include "write_failures.h"

#include "ntamsel.h"

#include <cstdio>
#include <memory>
#include <string>

namespace nltamsel {
namespace {

constexpr UINT writeFailedMessage = WM_APP + 0x57;
DWORD loopThread = 0;

// Runs on whatever thread wrote, under the library's locks: it only prints and posts.
void WINAPI OnWriteFailed(const char* file) {
    std::fprintf(stderr, "nltamsel: cannot write %s\n", file);
    std::fflush(stderr);
    auto copy = std::make_unique<std::string>(file);
    if (PostThreadMessageW(loopThread, writeFailedMessage, 0, LPARAM(copy.get())))
        copy.release(); // the loop owns it now
}

std::wstring Wide(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(size_t(MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), wide.data(),
                                           int(wide.size()))));
    return wide;
}

} // namespace

void WatchWriteFailures() {
    loopThread = GetCurrentThreadId();
    MSG message; // makes the thread's message queue, so that posts to it arrive
    PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    StoreSetWriteFailureHandler(OnWriteFailed);
}

bool ShowWriteFailure(const MSG& message, HWND owner) {
    if (message.message != writeFailedMessage || message.hwnd)
        return false;
    const std::unique_ptr<std::string> file(reinterpret_cast<std::string*>(message.lParam));
    const std::wstring text =
        L"The client cannot write " + Wide(*file) +
        L".\n\nWhat it should remember there (its log, its settings, how far its databases "
        L"are indexed) is lost when it closes. Check that the data folder can be written and "
        L"has room.";
    MessageBoxW(owner, text.c_str(), L"Tamsel", MB_ICONWARNING | MB_OK);
    return true;
}

} // namespace nltamsel
