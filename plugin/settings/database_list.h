// The databases the user chose (slots 0 to 14) and the history database (slot 15), with how far
// each is indexed. Every change is written to the client's settings at once, so an interruption
// loses at most the pass in progress.
#pragma once
#include "ntamsel.h"

#include <cstddef>
#include <string>

namespace tamsel {

constexpr int slotCount = 16;
constexpr int historySlot = 15;
constexpr size_t slotPathLength = 256;

// Withdraws the COM server's registration with the second engine (and makes it anew when the
// server is installed), which the server itself does; the DLL sets it as it loads (no one
// else needs to know the server).
extern HRESULT (*withdrawServerRegistration)();

// The second engine's index was made anew since the plug-in last looked: every time stamp is
// void. Also the index creation text it now has (empty when absent).
bool EngineIndexRemade(std::string* created = nullptr);
// Reads every slot's path and time stamp; first empties every time stamp when the second
// engine's index was made anew since the last start.
void LoadDatabaseList();

// The user's slot holding exactly this path (case-sensitive), or -1.
int FindSlotByPath(const char* path);
// Null or empty clears the slot; a longer path is cut to 256 characters. Returns the status of
// writing it to the settings.
STORESTATUS SetSlotPath(int slot, const char* path);
// The replica id (as document URLs write it) of the database last indexed in the slot; empty
// when none is known. Another database found at the path later is indexed anew.
std::string GetSlotReplica(int slot);
STORESTATUS SetSlotReplica(int slot, const std::string& replica);
// 1 when the slot is in use; with a buffer, also its path, cut to fit and always terminated.
BYTE GetSlotPath(int slot, char* buffer, WORD size);
// The slot is in use and, unless path is null, with exactly this path.
bool SlotHolds(int slot, const char* path);
// The time up to which every change was handled (earliest = never); returns whether it is known.
BYTE GetLastIndexed(int slot, STORETIME* time);
// 1 and the interrupted pass's until-time and note ID when one is recorded.
BYTE GetResumePoint(int slot, STORETIME* until, NOTEID* noteId);
// 1 and the interrupted pass's counts when one is recorded with both counts.
BYTE GetSavedProgress(int slot, LONG* processed, LONG* total);
// Records how far the slot's database is indexed and writes it to the settings: a null
// last-indexed time clears the state; a null until-time records no interrupted pass. Returns the
// status of writing it.
STORESTATUS SaveSlotState(int slot, const STORETIME* lastIndexed, const STORETIME* until,
                          NOTEID resumeNoteId, LONG processed, LONG total);
// Everything is indexed again from the beginning; the paths stay.
void ResetAllSlots();

// Opens and checks a database; with an owner window a failure is also shown in a box. With a
// handle output the database stays open on success and the caller closes it.
STORESTATUS OpenIndexedDatabase(HWND owner, const char* path, DBHANDLE* database);
// directory + "\" + file name into result (resultSize bytes), each part at most 255 bytes.
STORESTATUS JoinPath(const char* directory, const char* fileName, char* result, size_t resultSize);

} // namespace tamsel
