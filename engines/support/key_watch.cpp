#include "key_watch.h"

#include <map>
#include <memory>

namespace engine_support {
namespace {

thread_local std::uint64_t currentCall = 0;
thread_local int callDepth = 0;
alignas(8) volatile LONG64 lastCall = 0;

constexpr DWORD kSubtreeChanges = REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET;
#ifndef REG_NOTIFY_THREAD_AGNOSTIC
#define REG_NOTIFY_THREAD_AGNOSTIC 0x10000000L
#endif

HKEY CreateKey(HKEY root, const std::wstring& path) {
    if (path.empty())
        return nullptr;
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_READ | KEY_NOTIFY, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
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

} // namespace

KeyWatch::KeyWatch(HKEY root, std::wstring path) : root_(root), path_(std::move(path)) {}

KeyWatch::~KeyWatch() {
    Disarm();
    if (event_)
        CloseHandle(event_);
}

void KeyWatch::Disarm() {
    // Closing a key ends its notification (and may signal the event).
    for (HKEY* key : {&key_, &parent_})
        if (*key) {
            RegCloseKey(*key);
            *key = nullptr;
        }
    armed_ = false;
}

bool KeyWatch::Arm() {
    Disarm();
    const size_t slash = path_.rfind(L'\\');
    const std::wstring parentPath = slash == std::wstring::npos ? L"" : path_.substr(0, slash);
    if (!event_)
        event_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!event_ || !ResetEvent(event_))
        return false;
    // The parent first: should the key go between the two steps, the parent has seen it.
    parent_ = parentPath.empty() ? nullptr : CreateKey(root_, parentPath);
    if (!parentPath.empty() &&
        (!parent_ || !Notify(parent_, FALSE, REG_NOTIFY_CHANGE_NAME, event_)))
        return false;
    key_ = CreateKey(root_, path_);
    if (!key_ || !Notify(key_, TRUE, kSubtreeChanges, event_))
        return false;
    armed_ = true;
    return true;
}

bool KeyWatch::Signaled() const {
    if (const QueryEvent query = EventQuery()) {
        EventBasicInformation info = {};
        if (query(event_, 0, &info, sizeof info, nullptr) >= 0)
            return info.state != 0;
    }
    return WaitForSingleObject(event_, 0) != WAIT_TIMEOUT;
}

std::uint64_t KeyWatch::Generation() {
    std::lock_guard guard(mutex_);
    const std::uint64_t call = EngineCall::Current();
    const DWORD thread = GetCurrentThreadId();
    if (call != 0 && call == lookCall_ && thread == lookThread_)
        return generation_;
    if (!armed_ || Signaled()) {
        // Watch again before the caller reads, so that a change made while it reads is
        // counted at the next look. Should arming fail, every look counts as a change.
        if (!Arm())
            Disarm();
        ++generation_;
    }
    lookCall_ = call;
    lookThread_ = thread;
    return generation_;
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

EngineCall::EngineCall() {
    if (callDepth++ == 0)
        currentCall = static_cast<std::uint64_t>(
            InterlockedIncrement64(&lastCall));
}

EngineCall::~EngineCall() {
    if (--callDepth == 0)
        currentCall = 0;
}

std::uint64_t EngineCall::Current() { return currentCall; }

} // namespace engine_support
