// Owners for the automation types handed to the engines. Interface pointers use WRL's ComPtr.
#pragma once
#include "automation_owners.h"
#include "base/hresult_error.h"

#include <wrl/client.h>

namespace tamsel {

using automation::UniqueVariant;
using Microsoft::WRL::ComPtr;

// A name or text for the engine; raises E_OUTOFMEMORY like the other string helpers, where
// automation::UniqueBstr leaves the owner empty.
class ThrowingBstr : public automation::UniqueBstr {
  public:
    explicit ThrowingBstr(std::wstring_view text) : automation::UniqueBstr(text) {
        if (!get())
            throw HResultError{E_OUTOFMEMORY};
    }
};

} // namespace tamsel
