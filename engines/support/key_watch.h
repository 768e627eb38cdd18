// Tells cheaply whether anything at or below a registry key may have changed: the key and its
// parent signal one event on a change, so that a look asks for that event's state instead of
// opening keys and reading values. Asking is a server round trip (tens of microseconds under
// Wine, more than a whole event costs otherwise), so looks within kLookIntervalMs of the last
// question reuse its answer. Under one EngineCall a thread looks at each watch once, so that
// one engine call sees the registry at one moment.
#pragma once
#include "unique_resource.h"

#include <windows.h>

#include <cstdint>
#include <mutex>
#include <string>

namespace engine_support {

class KeyWatch {
  public:
    // The key (and its parent) is made when missing, at the first look.
    KeyWatch(HKEY root, std::wstring path);
    KeyWatch(const KeyWatch&) = delete;
    KeyWatch& operator=(const KeyWatch&) = delete;

    // How long after a change (by any process) a look is sure to count it.
    static constexpr DWORD kLookIntervalMs = 10;

    // A number that grows whenever the key's values, its subkeys (at any depth) or their
    // values may have changed since the last look, and when the key itself went or came
    // back. A change made more than kLookIntervalMs before the call is always counted, and so
    // is one announced with Changed().
    std::uint64_t Generation();

    // This process has just changed something under the key: the next look asks at once.
    void Changed();

    // The process-wide watch of a key of HKEY_CURRENT_USER, shared by every reader under it.
    static KeyWatch& OfCurrentUser(const std::wstring& path);

  private:
    void Disarm();
    bool Arm();
    bool Signaled() const;

    std::mutex mutex_;
    HKEY root_;
    std::wstring path_;
    // Before the keys, so that it outlives them: closing a key may signal it.
    win32::UniqueHandle event_; // set by a change under key_ or of parent_'s subkeys
    win32::UniqueKey key_;      // the watched key: its whole subtree
    win32::UniqueKey parent_;   // its parent: the key's own removal and return
    bool armed_ = false;        // false: every look counts as a change
    std::uint64_t generation_ = 0;
    std::uint64_t lookCall_ = 0; // the EngineCall of the last look
    LONGLONG asked_ = 0;         // performance counter before the last question
    bool mustAsk_ = true;        // Changed() since then
};

// Marks one call into an engine on this thread: within it (nested ones included) each
// KeyWatch asks the server once and later looks reuse that answer.
class EngineCall {
  public:
    EngineCall();
    EngineCall(const EngineCall&) = delete;
    EngineCall& operator=(const EngineCall&) = delete;
    ~EngineCall();

    // The current call of this thread; 0 outside any.
    static std::uint64_t Current();

  private:
    std::uint64_t serial_; // unique in the process
    bool outermost_;
};

} // namespace engine_support
