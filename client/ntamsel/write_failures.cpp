// The log and the settings file are the client's memory: a write to them that fails is told to
// the program once, and told again only after a later write to that file has succeeded.
#include "client_state.h"
#include "ntamsel.h"
#include "text_convert.h"

#include <atomic>
#include <mutex>
#include <set>

namespace ntamsel {
namespace {

std::mutex failuresLock;
std::set<std::wstring> failing;
std::atomic<STOREWRITEFAILEDPROC> handler{nullptr};

} // namespace

void NoteWrite(const std::wstring& path, bool written) {
    {
        std::lock_guard guard(failuresLock);
        if (written) {
            failing.erase(path);
            return;
        }
        if (!failing.insert(path).second)
            return;
    }
    if (const STOREWRITEFAILEDPROC report = handler)
        report(WideToUtf8(path).c_str());
}

} // namespace ntamsel

extern "C" void WINAPI StoreSetWriteFailureHandler(STOREWRITEFAILEDPROC report) {
    ntamsel::handler = report;
}
