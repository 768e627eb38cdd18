#include "verify_repair.h"

#include "base/user_interface.h"
#include "convert/deletion_notice.h"
#include "convert/empty_mail_event.h"
#include "engine/component_registration.h"
#include "idl/engine_results.h"
#include "output.h"
#include "settings/database_list.h"
#include "support/utf.h"

namespace zsearch {
namespace {

// A tool has no one to answer a box: what the plug-in would show goes to the error output.
int WINAPI PrintBox(HWND, LPCSTR text, LPCSTR, UINT) {
    PrintError(std::string("zsearch verify: ") + text + "\n");
    return IDOK;
}

// The plug-in's component stands registered with the first engine only while the client
// runs: without it, the repair registers the component for its own events and withdraws it
// after, so that a running client's registration is never touched.
class ComponentForEvents {
  public:
    ~ComponentForEvents() {
        if (registered_)
            tamsel::UnregisterFromPrimaryEngine();
    }
    HRESULT Send(const std::wstring& url) {
        HRESULT sent = tamsel::SendEmptiedDocument(url);
        if (sent != engine_results::E_COMPONENT_NOT_REGISTERED || registered_)
            return sent;
        tamsel::userInterface.messageBox = PrintBox;
        registered_ = tamsel::RegisterWithPrimaryEngine() == 0;
        return registered_ ? tamsel::SendEmptiedDocument(url) : sent;
    }

  private:
    bool registered_ = false;
};

void RemoveDocument(const std::string& url, ComponentForEvents& component, RepairOutcome& outcome) {
    const std::wstring wide = engine_support::FromUtf8(url);
    if (tamsel::RemoveDocument(wide))
        return void(++outcome.removed);
    const HRESULT sent = component.Send(wide);
    if (SUCCEEDED(sent))
        return void(++outcome.emptied);
    ++outcome.notRemoved;
    outcome.lastFailure = sent;
}

// A time stamp just before the oldest owed change, so that the next pass lists it again.
bool MoveStampBack(int slot, double oldestOwed) {
    STORETIME stamp;
    return HundredthBefore(oldestOwed, stamp) &&
           tamsel::SaveSlotState(slot, &stamp, nullptr, 0, 0, 0) == STORE_NOERROR;
}

} // namespace

RepairOutcome Repair(const Survey& survey) {
    RepairOutcome outcome;
    ComponentForEvents component;
    for (const DatabaseSurvey& database : survey.databases) {
        for (const NoteFinding& finding : database.findings)
            if (finding.kind == Finding::ghost || finding.kind == Finding::duplicate)
                RemoveDocument(finding.url, component, outcome);
        if (database.slot < 0 || database.oldestOwed == 0)
            continue;
        ++(MoveStampBack(database.slot, database.oldestOwed) ? outcome.stampsMoved
                                                             : outcome.stampsFailed);
    }
    return outcome;
}

} // namespace zsearch
