#include "tamsel_actions.h"

#include "action_answer.h"
#include "base/hresult_error.h"
#include "com_server.h"
#include "engine/com_owners.h"
#include "url_handler.h"

#include <new>

namespace tamsel {

TamselActions::TamselActions() {
    com_server::ObjectCreated();
}
TamselActions::~TamselActions() {
    com_server::ObjectDestroyed();
}

HRESULT TamselActions::Create(REFIID iid, void** out) {
    auto* actions = new (std::nothrow) TamselActions;
    if (!actions)
        return E_OUTOFMEMORY;
    actions->AddRef();
    const HRESULT hr = actions->QueryInterface(iid, out);
    actions->Release();
    return hr;
}

HRESULT TamselActions::QueryInterface(REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    if (iid != __uuidof(IUnknown) && iid != __uuidof(IOrvennaActionHandler)) {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    *out = static_cast<IOrvennaActionHandler*>(this);
    AddRef();
    return S_OK;
}

ULONG TamselActions::AddRef() {
    return InterlockedIncrement(&references_);
}

ULONG TamselActions::Release() {
    const ULONG left = InterlockedDecrement(&references_);
    if (left == 0)
        delete this;
    return left;
}

HRESULT TamselActions::QueryAction(BSTR, GUID actionId, IDispatch* item, BSTR* caption,
                                   BSTR* command, LONG* state) {
    if (!caption || !command || !state)
        return E_POINTER;
    *caption = *command = nullptr;
    *state = actionDoesNotApply;
    try {
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
    } catch (const HResultError& error) {
        return error.code;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT TamselActions::ExecuteAction(BSTR, GUID, IDispatch*, BSTR command) {
    try {
        return StartActionCommand(automation::BstrView(command));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

} // namespace tamsel
