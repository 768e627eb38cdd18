#include "base/user_interface.h"
#include "catalogue/catalogue.h"
#include "catalogue/failure_log.h"
#include "com/server_registration.h"
#include "com_result.h"
#include "engine/component_registration.h"
#include "exports.h"
#include "host_state.h"
#include "ntamsel.h"
#include "settings/client_settings.h"
#include "ui/settings_dialog.h"

#include <string>

namespace tamsel {
namespace {

constexpr WORD menuItemTextSize = 63;

void ShowFirstRunNotice() {
    userInterface.messageBox(GetForegroundWindow(), MessageText(msgFirstRunNotice).c_str(),
                             MessageText(msgFirstRunCaption).c_str(), MB_ICONINFORMATION | MB_OK);
    SetInstallInstructionsShown(1);
    RenewSecondEngineRegistration();
}

void OnInitialise(ADDINMENURECORD& record) {
    if (!IsPluginAllowed()) {
        record.itemCount = -1;
        return;
    }
    if (IsMenuSuppressed()) {
        if (!addinStarted) {
            addinStarted = true;
            record.itemCount = -1;
            TamselDesktopIndex();
        }
        return;
    }
    if (addinStarted)
        return;
    addinStarted = true;
    const std::string itemText = MessageText(msgMenuItem);
    StoreTranslateText(STORE_TRANSLATE_TO_CLIENT, itemText.c_str(), WORD(itemText.size()),
                       record.itemText, menuItemTextSize);
    if (!GetInstallInstructionsShown())
        ShowFirstRunNotice();
    record.itemCount = 1;
    TamselDesktopIndex();
}

void OnCommand(const ADDINMENURECORD& record) {
    const WORD status = CheckPrimaryEngine();
    const bool readyToIndex = (status & engineReadyBit) != 0;
    if (!readyToIndex && (status & engineInstalledBit) && !(status & engineRegisteredBit)) {
        if (LONG(RegisterWithPrimaryEngine()) >= 0)
            SetJustRegistered(1);
    }
    ShowSettingsDialog(record.ownerWindow);
}

} // namespace
} // namespace tamsel

using namespace tamsel;

extern "C" WORD WINAPI AddinMenuProc(WORD message, ADDINMENURECORD* record) {
    try {
        switch (message) {
        case ADDIN_MSG_INIT:
            if (record)
                OnInitialise(*record);
            break;
        case ADDIN_MSG_COMMAND:
            if (record)
                OnCommand(*record);
            break;
        case ADDIN_MSG_TERM:
            if (addinStarted)
                TamselDesktopTerm();
            break;
        default:
            break;
        }
    } catch (...) {
        // Nothing may escape into the client; the message is not completed, and the log says
        // why.
        LogUnexpectedFailure(com_server::CurrentFailureText());
    }
    return 0;
}
