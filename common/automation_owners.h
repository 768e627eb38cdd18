// Owners for the automation types that COM hands across: BSTR, VARIANT, SAFEARRAY access.
// Shared by the engines and the plug-in.
#pragma once
#include <oaidl.h>
#include <oleauto.h>

#include <string>
#include <string_view>
#include <utility>

namespace automation {

class UniqueBstr {
  public:
    UniqueBstr() = default;
    explicit UniqueBstr(std::wstring_view text)
        : value_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    UniqueBstr(UniqueBstr&& other) noexcept : value_(std::exchange(other.value_, nullptr)) {}
    UniqueBstr& operator=(UniqueBstr&& other) noexcept {
        std::swap(value_, other.value_);
        return *this;
    }
    ~UniqueBstr() { SysFreeString(value_); }

    BSTR get() const { return value_; }
    BSTR release() { return std::exchange(value_, nullptr); }
    BSTR* put() {
        SysFreeString(std::exchange(value_, nullptr));
        return &value_;
    }

  private:
    BSTR value_ = nullptr;
};

class UniqueVariant {
  public:
    UniqueVariant() { VariantInit(&value_); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;
    ~UniqueVariant() { VariantClear(&value_); }

    VARIANT* get() { return &value_; }
    const VARIANT& operator*() const { return value_; }
    VARIANT* put() {
        VariantClear(&value_);
        return &value_;
    }
    // Hands the value to an out-parameter that the caller will clear.
    void release(VARIANT* out) {
        *out = value_;
        VariantInit(&value_);
    }

  private:
    VARIANT value_;
};

// Access to the elements of a SAFEARRAY for the lifetime of the object.
class SafeArrayData {
  public:
    explicit SafeArrayData(SAFEARRAY* array) : array_(array) {
        if (FAILED(SafeArrayAccessData(array_, &data_)))
            data_ = nullptr;
    }
    SafeArrayData(const SafeArrayData&) = delete;
    SafeArrayData& operator=(const SafeArrayData&) = delete;
    ~SafeArrayData() {
        if (data_)
            SafeArrayUnaccessData(array_);
    }
    template <typename T> T* as() const { return static_cast<T*>(data_); }

  private:
    SAFEARRAY* array_;
    void* data_ = nullptr;
};

inline std::wstring_view BstrView(BSTR text) {
    return text ? std::wstring_view(text, SysStringLen(text)) : std::wstring_view();
}

} // namespace automation
