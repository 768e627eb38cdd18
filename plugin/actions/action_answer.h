// What the actions object answers when the engine asks whether an action applies to one of
// its results.
#pragma once
#include <windows.h>

#include <oaidl.h>

#include <string>

namespace tamsel {

enum ActionState : LONG {
    actionDoesNotApply = 0,
    actionWithoutCommand = 1, // it applies, but no command could be built
    actionReady = 2,          // caption and command are given
};

struct ActionAnswer {
    ActionState state = actionDoesNotApply;
    std::wstring caption, command;
};

// item: the engine's result item (may be null). Raises HResultError when memory runs out.
ActionAnswer AnswerAction(const GUID& actionId, IDispatch* item);

} // namespace tamsel
