// The error the string helpers raise to their caller's handler: a COM result code.
#pragma once
#include <windows.h>

namespace tamsel {

struct HResultError {
    HRESULT code;
};

} // namespace tamsel
