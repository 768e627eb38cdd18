#include "tamsel_actions.h"

#include "action_answer.h"
#include "base/hresult_error.h"
#include "engine/com_owners.h"
#include "url_handler.h"

namespace tamsel {

HRESULT TamselActions::QueryAction(BSTR, GUID actionId, IDispatch* item, BSTR* caption,
                                   BSTR* command, LONG* state) {
    if (!caption || !command || !state)
        return E_POINTER;
    *caption = *command = nullptr;
    *state = actionDoesNotApply;
    return com_server::Guarded([&] {
        ActionAnswer answer = AnswerAction(actionId, item);
        if (answer.state == actionReady) {
            automation::UniqueBstr captionText(answer.caption), commandText(answer.command);
            if (!captionText.get() || !commandText.get())
                return E_OUTOFMEMORY;
            *caption = captionText.release();
            *command = commandText.release();
        }
        *state = answer.state;
        return S_OK;
    });
}

HRESULT TamselActions::ExecuteAction(BSTR, GUID, IDispatch*, BSTR command) {
    return com_server::Guarded([&] { return StartActionCommand(automation::BstrView(command)); });
}

} // namespace tamsel
