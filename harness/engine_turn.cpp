#include "engine_turn.h"

namespace testing_support {

EngineTurn::EngineTurn() : mutex_(CreateMutexW(nullptr, FALSE, L"TamselEngineTests")) {
    // An abandoned turn (a test that crashed) is a turn all the same.
    WaitForSingleObject(mutex_, 120000);
}

EngineTurn::~EngineTurn() {
    ReleaseMutex(mutex_);
    CloseHandle(mutex_);
}

} // namespace testing_support
