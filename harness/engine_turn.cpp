#include "engine_turn.h"

#include <stdexcept>

namespace testing_support {

EngineTurn::EngineTurn() : mutex_(CreateMutexW(nullptr, FALSE, L"TamselEngineTests")) {
    // An abandoned turn (a test that crashed) is a turn all the same. A test that went on
    // without it would point the installed engines elsewhere under another test's feet.
    const DWORD waited = WaitForSingleObject(mutex_.get(), 120000);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED)
        throw std::runtime_error("the engines' turn was not free within 120 s: another test "
                                 "program holds it");
}

EngineTurn::~EngineTurn() {
    ReleaseMutex(mutex_.get());
}

} // namespace testing_support
