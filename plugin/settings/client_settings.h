// The plug-in's options, read once per process from the client's settings variables. Setters
// write a changed value through at once and keep it in the process even when that write fails.
#pragma once
#include <windows.h>

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

void SetIndexingEnabled(BYTE on);
void SetIndexEncrypted(BYTE on);
void SetInstallInstructionsShown(BYTE on);
void SetIndexDrafts(BYTE on);
void SetIndexOnIdle(BYTE on);
void SetIndexDiscussion(BYTE on);
void SetIndexHistory(BYTE on);

DWORD GetFrequencyMinutes();
void SetFrequencyMinutes(DWORD minutes);
DWORD GetWaitTime();
LONG GetInstallTime();
void SetInstallTime(LONG value);

// Copies "DesktopSearchDataFields" into a buffer of at least 256 bytes; 0 when it is empty.
BYTE GetDataFields(char* buffer);

// The menu command registered the component since the settings dialog last looked.
BYTE GetJustRegistered();
void SetJustRegistered(BYTE on);

} // namespace tamsel
