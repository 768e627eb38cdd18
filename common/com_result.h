// COM result codes as errors, and the one boundary that turns every road out of a COM method or
// an exported entry into an HRESULT: the error's own code, E_OUTOFMEMORY when memory ran out,
// E_UNEXPECTED for anything else. The last two are failures no caller asked for; a module that
// keeps a log names its reporter, which the boundary tells what happened.
#pragma once
#include <windows.h>

#include <exception>
#include <new>

namespace com_server {

// What helpers raise to the boundary of their caller.
struct HResultError {
    HRESULT code;
};

using UnexpectedFailureReporter = void (*)(const char* what) noexcept;

// One per module: each DLL and program has its own copy of this function.
inline UnexpectedFailureReporter& UnexpectedFailureReport() {
    static UnexpectedFailureReporter report = nullptr;
    return report;
}

// Only inside a catch block: what the exception being handled says.
inline const char* CurrentFailureText() noexcept {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return "out of memory";
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "unexpected error";
    }
}

// Only inside a catch block: tells the module's reporter, if it has one.
inline void ReportCurrentFailure() noexcept {
    if (UnexpectedFailureReporter reporter = UnexpectedFailureReport())
        reporter(CurrentFailureText());
}

template <typename Body> HRESULT Guarded(Body&& body) noexcept {
    try {
        return body();
    } catch (const HResultError& error) {
        return error.code;
    } catch (const std::bad_alloc&) {
        ReportCurrentFailure();
        return E_OUTOFMEMORY;
    } catch (...) {
        ReportCurrentFailure();
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
