// Why the indexing thread last found no search engine to send to, for the settings dialog.
// The indexing thread writes it, the user-interface thread reads it; one aligned value, no lock.
#pragma once
#include "catalogue/message_ids.h"

#include <windows.h>

#include <atomic>
#include <optional>

namespace tamsel {

enum class EngineCondition : BYTE {
    ready, // also before the thread's first check: nothing to say yet
    notInstalled,
    notRegistered, // installed, but the component is unknown to it
    notRunning,
    paused,
    disabled, // the user switched the component off in the engine
};

struct EngineState {
    EngineCondition condition = EngineCondition::ready;
    // The condition is the second engine's: the primary is not installed.
    bool secondEngine = false;

    bool operator==(const EngineState&) const = default;
};

extern std::atomic<EngineState> engineState;

// The catalogue's words for a condition: the line the log gets when it begins (for ready:
// when indexing goes on), and what the dialog's status line says while it lasts, if anything.
struct EngineConditionMessages {
    MessageId logLine;
    std::optional<MessageId> statusText;
};
EngineConditionMessages MessagesOf(EngineCondition condition);

} // namespace tamsel
