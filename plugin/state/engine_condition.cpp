#include "engine_condition.h"

#include <iterator>

namespace tamsel {

std::atomic<EngineState> engineState{};

static_assert(std::atomic<EngineState>::is_always_lock_free);

namespace {

// In the order of the conditions.
constexpr EngineConditionMessages conditionMessages[] = {
    {msgLogEngineReadyAgain, std::nullopt},
    {msgLogEngineNotInstalled, msgEngineNotInstalled},
    {msgLogComponentNotRegistered, msgComponentNotRegistered},
    {msgLogEngineNotRunning, msgEngineNotRunning},
    {msgLogEnginePaused, msgEnginePaused},
    {msgLogComponentDisabled, msgComponentDisabled},
};
static_assert(std::size(conditionMessages) == size_t(EngineCondition::disabled) + 1);

} // namespace

EngineConditionMessages MessagesOf(EngineCondition condition) {
    return conditionMessages[size_t(condition)];
}

} // namespace tamsel
