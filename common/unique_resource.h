// One owner for every kind of handle: the handle is closed exactly once, by the owner that
// holds it, on every road out of a scope. A kind is a small traits type that names its handle
// type, the value that means "none" and the call that closes it.
#pragma once
#include <windows.h>

#include <utility>

template <typename Traits> class UniqueResource {
  public:
    using Handle = typename Traits::Handle;

    UniqueResource() = default;
    explicit UniqueResource(Handle handle) : handle_(handle) {}
    UniqueResource(UniqueResource&& other) noexcept : handle_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        reset(other.release());
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    ~UniqueResource() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::Invalid(); }
    // For the out-parameter of the call that opens: whatever was held is closed first.
    Handle* put() {
        reset();
        return &handle_;
    }
    Handle release() { return std::exchange(handle_, Traits::Invalid()); }
    void reset(Handle handle = Traits::Invalid()) {
        const Handle old = std::exchange(handle_, handle);
        if (old != Traits::Invalid())
            Traits::Close(old);
    }

  private:
    Handle handle_ = Traits::Invalid();
};

namespace win32 {

// Events, threads, mappings, processes: null when there is none.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE handle) { CloseHandle(handle); }
};

// What CreateFile opens: INVALID_HANDLE_VALUE when there is none.
struct FileHandleTraits {
    using Handle = HANDLE;
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) { CloseHandle(handle); }
};

struct RegistryKeyTraits {
    using Handle = HKEY;
    static HKEY Invalid() { return nullptr; }
    static void Close(HKEY key) { RegCloseKey(key); }
};

struct LibraryTraits {
    using Handle = HMODULE;
    static HMODULE Invalid() { return nullptr; }
    static void Close(HMODULE module) { FreeLibrary(module); }
};

struct MappedViewTraits {
    using Handle = void*;
    static void* Invalid() { return nullptr; }
    static void Close(void* view) { UnmapViewOfFile(view); }
};

// What FindFirstFile opens: INVALID_HANDLE_VALUE when there is none, and FindClose ends it.
struct FindHandleTraits {
    using Handle = HANDLE;
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE search) { FindClose(search); }
};

// Memory the system allocated for the caller with LocalAlloc (CommandLineToArgvW,
// FormatMessage's own buffer): LocalFree ends it.
template <typename T> struct LocalMemoryTraits {
    using Handle = T*;
    static T* Invalid() { return nullptr; }
    static void Close(T* memory) { LocalFree(memory); }
};

// A window of this thread. The user may have closed it already: then there is nothing to end.
struct WindowTraits {
    using Handle = HWND;
    static HWND Invalid() { return nullptr; }
    static void Close(HWND window) {
        if (IsWindow(window))
            DestroyWindow(window);
    }
};

using UniqueHandle = UniqueResource<KernelHandleTraits>;
using UniqueFile = UniqueResource<FileHandleTraits>;
using UniqueKey = UniqueResource<RegistryKeyTraits>;
using UniqueLibrary = UniqueResource<LibraryTraits>;
using UniqueView = UniqueResource<MappedViewTraits>;
using UniqueFind = UniqueResource<FindHandleTraits>;
template <typename T> using UniqueLocal = UniqueResource<LocalMemoryTraits<T>>;
using UniqueWindow = UniqueResource<WindowTraits>;

} // namespace win32
