// The functions the client calls by name.
#pragma once
#include "addin_menu.h"

extern "C" {
WORD WINAPI AddinMenuProc(WORD message, ADDINMENURECORD* record);
BYTE WINAPI TamselDesktopIndex(void);
BYTE WINAPI TamselDesktopTerm(void);
}

namespace tamsel {
DWORD WINAPI IndexingThreadMain(void* unused);
}
