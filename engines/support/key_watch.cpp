#include "key_watch.h"

#include <map>
#include <memory>

namespace engine_support {
namespace {

alignas(8) volatile LONG64 lastCall = 0;

// Each thread's outermost EngineCall, in a slot of the DLL's own that goes with it.
struct CallSlot {
    DWORD index = TlsAlloc();
    ~CallSlot() {
        if (index != TLS_OUT_OF_INDEXES)
            TlsFree(index);
    }
} callSlot;

constexpr DWORD kSubtreeChanges = REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET;
#ifndef REG_NOTIFY_THREAD_AGNOSTIC
#define REG_NOTIFY_THREAD_AGNOSTIC 0x10000000L
#endif

win32::UniqueKey CreateKey(HKEY root, const std::wstring& path) {
    if (path.empty())
        return {};
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_READ | KEY_NOTIFY, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return {};
    return win32::UniqueKey(key);
}

// Without REG_NOTIFY_THREAD_AGNOSTIC (older systems) the notification ends with the thread
// that asked for it, which signals the event: one needless read again, nothing missed.
bool Notify(HKEY key, BOOL subtree, DWORD filter, HANDLE event) {
    if (RegNotifyChangeKeyValue(key, subtree, filter | REG_NOTIFY_THREAD_AGNOSTIC, event, TRUE) ==
        ERROR_SUCCESS)
        return true;
    return RegNotifyChangeKeyValue(key, subtree, filter, event, TRUE) == ERROR_SUCCESS;
}

// NtQueryEvent tells an event's state without waiting: a wait with no timeout would also
// give up the processor under Wine.
struct EventBasicInformation {
    int type;
    LONG state;
};
using QueryEvent = LONG(NTAPI*)(HANDLE, int, void*, ULONG, ULONG*);

QueryEvent EventQuery() {
    static const QueryEvent query = [] {
        const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
        return ntdll ? reinterpret_cast<QueryEvent>(
                           reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQueryEvent")))
                     : nullptr;
    }();
    return query;
}

LONGLONG Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

LONGLONG LookInterval() {
    static const LONGLONG interval = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return frequency.QuadPart * KeyWatch::kLookIntervalMs / 1000;
    }();
    return interval;
}

} // namespace

KeyWatch::KeyWatch(HKEY root, std::wstring path) : root_(root), path_(std::move(path)) {}

void KeyWatch::Disarm() {
    // Closing a key ends its notification (and may signal the event).
    key_.reset();
    parent_.reset();
    armed_ = false;
}

bool KeyWatch::Arm() {
    Disarm();
    const size_t slash = path_.rfind(L'\\');
    const std::wstring parentPath = slash == std::wstring::npos ? L"" : path_.substr(0, slash);
    if (!event_)
        event_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!event_ || !ResetEvent(event_.get()))
        return false;
    // The parent first: should the key go between the two steps, the parent has seen it.
    parent_ = CreateKey(root_, parentPath);
    if (!parentPath.empty() &&
        (!parent_ || !Notify(parent_.get(), FALSE, REG_NOTIFY_CHANGE_NAME, event_.get())))
        return false;
    key_ = CreateKey(root_, path_);
    if (!key_ || !Notify(key_.get(), TRUE, kSubtreeChanges, event_.get()))
        return false;
    armed_ = true;
    return true;
}

bool KeyWatch::Signaled() const {
    if (const QueryEvent query = EventQuery()) {
        EventBasicInformation info = {};
        if (query(event_.get(), 0, &info, sizeof info, nullptr) >= 0)
            return info.state != 0;
    }
    return WaitForSingleObject(event_.get(), 0) != WAIT_TIMEOUT;
}

std::uint64_t KeyWatch::Generation() {
    std::lock_guard guard(mutex_);
    const std::uint64_t call = EngineCall::Current();
    if (call != 0 && call == lookCall_)
        return generation_;
    lookCall_ = call;
    const LONGLONG now = Now();
    if (armed_ && !mustAsk_ && now - asked_ < LookInterval())
        return generation_;
    // Taken before asking: a change the server has not seen yet is asked about again.
    asked_ = now;
    mustAsk_ = false;
    if (!armed_ || Signaled()) {
        // Watch again before the caller reads, so that a change made while it reads is
        // counted at the next look. Should arming fail, every look counts as a change.
        if (!Arm())
            Disarm();
        ++generation_;
    }
    return generation_;
}

void KeyWatch::Changed() {
    std::lock_guard guard(mutex_);
    mustAsk_ = true;
    lookCall_ = 0;
}

KeyWatch& KeyWatch::OfCurrentUser(const std::wstring& path) {
    static std::mutex mutex;
    static std::map<std::wstring, std::unique_ptr<KeyWatch>> watches;
    std::lock_guard guard(mutex);
    std::wstring name = path;
    CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
    auto& watch = watches[name];
    if (!watch)
        watch = std::make_unique<KeyWatch>(HKEY_CURRENT_USER, path);
    return *watch;
}

EngineCall::EngineCall() : serial_(static_cast<std::uint64_t>(InterlockedIncrement64(&lastCall))) {
    outermost_ = callSlot.index != TLS_OUT_OF_INDEXES && !TlsGetValue(callSlot.index) &&
                 TlsSetValue(callSlot.index, this);
}

EngineCall::~EngineCall() {
    if (outermost_)
        TlsSetValue(callSlot.index, nullptr);
}

std::uint64_t EngineCall::Current() {
    if (callSlot.index == TLS_OUT_OF_INDEXES)
        return 0;
    const auto* call = static_cast<const EngineCall*>(TlsGetValue(callSlot.index));
    return call ? call->serial_ : 0;
}

} // namespace engine_support
