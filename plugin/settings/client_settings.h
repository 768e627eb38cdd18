// The plug-in's options, read once per process from the client's settings variables. Setters
// write a changed value through at once and keep it in the process even when that write fails;
// they return the write's status (0 also when nothing needed writing).
#pragma once
#include "ntamsel.h"

namespace tamsel {

void LoadSettings();
bool SettingsLoaded();

// Flags (1 = on).
BYTE IsPluginAllowed();
BYTE IsMenuSuppressed();
BYTE IsSettingsLocked();
BYTE IsIndexingEnabled();
BYTE IsDebugLogging();
BYTE IsVerboseDebugLogging();
BYTE GetIndexEncrypted();
BYTE GetInstallInstructionsShown();
BYTE IsRemoteAllowed();
BYTE GetIndexDrafts();
BYTE GetIndexChats();
BYTE GetSendDeletions();
BYTE GetIndexOnIdle();
BYTE GetIndexDiscussion();
BYTE GetIndexHistory();
BYTE GetIndexAllForms();
BYTE GetSkipLegal();
BYTE GetBuildVariant();
BYTE GetComputeOK();

STORESTATUS SetIndexingEnabled(BYTE on);
STORESTATUS SetIndexEncrypted(BYTE on);
STORESTATUS SetInstallInstructionsShown(BYTE on);
STORESTATUS SetIndexDrafts(BYTE on);
STORESTATUS SetIndexOnIdle(BYTE on);
STORESTATUS SetIndexDiscussion(BYTE on);
STORESTATUS SetIndexHistory(BYTE on);

DWORD GetFrequencyMinutes();
STORESTATUS SetFrequencyMinutes(DWORD minutes);
DWORD GetWaitTime();
LONG GetInstallTime();
void SetInstallTime(LONG value);

// Copies "DesktopSearchDataFields" into a buffer of at least 256 bytes; 0 when it is empty.
BYTE GetDataFields(char* buffer);

// The menu command registered the component since the settings dialog last looked.
BYTE GetJustRegistered();
void SetJustRegistered(BYTE on);

} // namespace tamsel
