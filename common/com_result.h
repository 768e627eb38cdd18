// COM result codes as errors, and the one boundary that turns every road out of a COM method or
// an exported entry into an HRESULT: the error's own code, E_OUTOFMEMORY when memory ran out,
// E_UNEXPECTED for anything else.
#pragma once
#include <windows.h>

#include <new>

namespace com_server {

// What helpers raise to the boundary of their caller.
struct HResultError {
    HRESULT code;
};

template <typename Body> HRESULT Guarded(Body&& body) noexcept {
    try {
        return body();
    } catch (const HResultError& error) {
        return error.code;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

} // namespace com_server

// The early return on the first failure of a sequence of calls.
#define RETURN_IF_FAILED(call)                                                                     \
    do {                                                                                           \
        const HRESULT returnIfFailedResult = (call);                                               \
        if (FAILED(returnIfFailedResult))                                                          \
            return returnIfFailedResult;                                                           \
    } while (false)
