// COM result codes as errors: what the string helpers raise to their caller's handler, and
// the early return on the first failure of a sequence of calls.
#pragma once
#include <windows.h>

namespace tamsel {

struct HResultError {
    HRESULT code;
};

} // namespace tamsel

#define RETURN_IF_FAILED(call)                                                                     \
    do {                                                                                           \
        const HRESULT returnIfFailedResult = (call);                                               \
        if (FAILED(returnIfFailedResult))                                                          \
            return returnIfFailedResult;                                                           \
    } while (false)
