// The client program's own log messages (its string table).
#pragma once

namespace nltamsel {

enum ClientMessage : unsigned short {
    msgStarting = 1,
    msgExiting = 2,
    msgAddInLoaded = 3,
    msgAddInNotLoaded = 4,
    msgAddInNoEntry = 5,
    msgMenuItem = 6,
    msgNoSuchMenuItem = 7,
    msgBoxShown = 8,
    msgBoxAnswered = 9,
    msgDialogControl = 10,
    msgDialogScriptStopped = 11,
    // URLs the system's URL handler hands the client
    msgOpenedNote = 20,
    msgDocumentNotFound = 21,
    msgReplyStarted = 22,
    msgUnknownUrl = 23,
};

} // namespace nltamsel
