#include "engine_turn.h"

namespace testing_support {

EngineTurn::EngineTurn() : mutex_(CreateMutexW(nullptr, FALSE, L"TamselEngineTests")) {
    // An abandoned turn (a test that crashed) is a turn all the same.
    WaitForSingleObject(mutex_.get(), 120000);
}

EngineTurn::~EngineTurn() {
    ReleaseMutex(mutex_.get());
}

} // namespace testing_support
