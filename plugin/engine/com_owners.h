// Owners for the automation types handed to the engines. Interface pointers use WRL's ComPtr.
#pragma once
#include "host/hresult_error.h"

#include <oaidl.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <string_view>
#include <utility>

namespace tamsel {

using Microsoft::WRL::ComPtr;

class UniqueBstr {
  public:
    // A name or text for the engine; raises E_OUTOFMEMORY like the other string helpers.
    explicit UniqueBstr(std::wstring_view text)
        : value_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {
        if (!value_)
            throw HResultError{E_OUTOFMEMORY};
    }
    UniqueBstr(const UniqueBstr&) = delete;
    UniqueBstr& operator=(const UniqueBstr&) = delete;
    ~UniqueBstr() { SysFreeString(value_); }

    BSTR get() const { return value_; }
    BSTR release() { return std::exchange(value_, nullptr); }

  private:
    BSTR value_;
};

class UniqueVariant {
  public:
    UniqueVariant() { VariantInit(&value_); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;
    ~UniqueVariant() { VariantClear(&value_); }

    VARIANT* get() { return &value_; }
    const VARIANT& operator*() const { return value_; }

  private:
    VARIANT value_;
};

} // namespace tamsel
