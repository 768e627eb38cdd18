#include "engine_watch.h"

#include "catalogue/catalogue.h"
#include "engine/component_registration.h"
#include "ntamsel.h"
#include "state/engine_condition.h"

namespace tamsel {
namespace {

// Log lines are English everywhere; the engines' names are not translated either.
const char* EngineName(bool secondEngine) {
    return secondEngine ? "Orvenna Desktop" : "Zendri Desktop Search";
}

} // namespace

void ForgetEngineState() {
    engineState = EngineState{};
}

void WatchEngineState(WORD primary, WORD second) {
    const EngineState now = EngineStateOf(primary, second);
    const EngineState before = engineState.exchange(now);
    // A ready engine that was ready before, even if it is now the other one, says nothing new.
    if (now.condition == before.condition &&
        (now.secondEngine == before.secondEngine || now.condition == EngineCondition::ready))
        return;
    StoreLogMessage(MessagesOf(now.condition).logLine, ModuleInstance(), 0,
                    EngineName(now.secondEngine));
}

} // namespace tamsel
