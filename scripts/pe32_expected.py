"""What the 32-bit product's DLLs must show to the programs that load them; check-pe32.py reads it.

Named exports are {ordinal: name}. The linker numbers them in the order of their names, so a new
one renumbers those after it: nobody calls them by ordinal, but the change should be seen.
"""

from catalogue_languages import LANGUAGES

# The client library's operations, by ordinal (client/ntamsel/ntamsel.def). The real client's
# library has these numbers; the plug-in is linked against them and imports nothing by name.
CLIENT_LIBRARY = {
    1: "StoreThreadInit",
    2: "StoreThreadTerm",
    3: "StoreTerminationPending",
    4: "StoreLogMessage",
    5: "StoreGetEnvInt",
    6: "StoreGetEnvString",
    7: "StoreSetEnvInt",
    8: "StoreSetEnvString",
    9: "StoreTranslateText",
    10: "StoreGetDataDirectory",
    30: "StoreOpenDatabase",
    31: "StoreCloseDatabase",
    32: "StoreParseNetPath",
    33: "StoreGetDatabaseFlags",
    34: "StoreGetDatabaseModifiedTime",
    35: "StoreGetReplicaInfo",
    36: "StoreGetDatabaseInfo",
    37: "StoreParseDatabaseInfo",
    38: "StoreGetUserName",
    39: "StoreGetUnreadTable",
    40: "StoreGetModifiedNoteTable",
    41: "StoreIdTableEnumerate",
    42: "StoreIdTableCount",
    43: "StoreIdTableContains",
    44: "StoreIdTableFree",
    45: "StoreOpenNote",
    46: "StoreCloseNote",
    47: "StoreCreateNote",
    48: "StoreGetNoteInfo",
    49: "StoreGetNoteInfoById",
    50: "StoreGetItemInfo",
    51: "StoreReadItemText",
    52: "StoreReadItemTime",
    53: "StoreReadItemNumber",
    54: "StoreItemToText",
    55: "StoreTextListCount",
    56: "StoreTextListEntry",
    57: "StoreTextToLocal",
    58: "StoreGetMailItemText",
    59: "StoreGetMailItemTime",
    60: "StoreIsSignedOrSealed",
    61: "StoreDecryptNote",
    62: "StoreScanItems",
    63: "StoreMessageBodyToFile",
    64: "StoreNumberToText",
    65: "StoreFormatText",
    66: "StoreNextCharacter",
    67: "StorePreviousCharacter",
    68: "StoreCurrentTime",
    69: "StoreSetTimeConstant",
    70: "StoreCompareTimes",
    71: "StoreTimeToText",
    72: "StoreTextToTime",
    73: "StoreTimeDatePart",
    74: "StoreTimeTimePart",
    75: "StoreTimeDayNumber",
    76: "StoreTimeConstruct",
    77: "StoreTimeToFields",
    80: "StoreCompoundCreate",
    81: "StoreCompoundDefaultStyle",
    82: "StoreCompoundDefineStyle",
    83: "StoreCompoundAddText",
    84: "StoreCompoundAddTextEx",
    85: "StoreCompoundAssimilateNote",
    86: "StoreCompoundClose",
    87: "StoreCompoundDiscard",
    88: "StoreFindDesignNote",
    89: "StoreFormulaStart",
    90: "StoreFormulaEvaluate",
    91: "StoreFormulaStop",
    92: "StoreBlockLock",
    93: "StoreBlockUnlock",
    94: "StoreBlockFree",
    200: "StoreClientInit",
    201: "StoreClientShutdown",
    202: "StoreSetWriteFailureHandler",
}
# The client program's own set-up and shutdown: an add-in runs inside a client that has done
# them, and must not call them.
CLIENT_ONLY = {200, 201, 202}

# The beginnings of the names of the compiler's runtime DLLs, for a clearer message.
STATIC_RUNTIME = ("libstdc++", "libgcc", "libwinpthread")

# Windows' own DLLs that any of the DLLs may import, by name. msvcrt.dll is the C library that
# mingw-w64 links against and every Windows has; the C++ and GCC runtimes (libstdc++-6.dll,
# libgcc_s_dw2-1.dll, libwinpthread-1.dll) are linked statically and must not appear.
SYSTEM_DLLS = {
    "advapi32.dll",
    "comdlg32.dll",
    "kernel32.dll",
    "msi.dll",
    "msvcrt.dll",
    "ole32.dll",
    "oleaut32.dll",
    "shell32.dll",
    "shlwapi.dll",
    "user32.dll",
}

# What COM (DllGetClassObject, DllCanUnloadNow) and regsvr32 (DllRegisterServer,
# DllUnregisterServer) look up by name, without stdcall decorations.
COM_SERVER = {
    1: "DllCanUnloadNow",
    2: "DllGetClassObject",
    3: "DllRegisterServer",
    4: "DllUnregisterServer",
}

RT_DIALOG, RT_STRING = 5, 6
# The string-table blocks that hold the message catalogue's messages 100..227, in each of
# its LANGUAGES.
MESSAGE_BLOCKS = range(7, 16)
ENGLISH = 1033

# Each DLL: its exports by name, and by ordinal only (the name there only for messages); the
# DLLs of the product it may import from, each with the ordinals it may import (by ordinal only);
# and its resources, (type, name, language), with the content they must have: a file of the
# source tree (its path from the checkout), a leading magic, or None for any but empty.
DLLS = {
    "TamselDesktop.dll": {
        # The client finds AddinMenuProc by name (client/app/addins.cpp).
        "exports": {
            1: "AddinMenuProc",
            2: "DllCanUnloadNow",
            3: "DllGetClassObject",
            4: "DllRegisterServer",
            5: "DllUnregisterServer",
            6: "TamselDesktopIndex",
            7: "TamselDesktopTerm",
        },
        "imports": {"ntamsel.dll": set(CLIENT_LIBRARY) - CLIENT_ONLY},
        "resources": {
            (RT_DIALOG, 109, ENGLISH): None,  # the settings dialog, IDD_SETTINGS
            ("REGISTRY", 101, ENGLISH): "plugin/com/registration/module.rgs",
            ("REGISTRY", 102, ENGLISH): "plugin/com/registration/tamsel_desktop_plugin.rgs",
            ("REGISTRY", 178, ENGLISH): "plugin/com/registration/tamsel_actions.rgs",
            ("TYPELIB", 1, ENGLISH): b"MSFT",
            **{
                (RT_STRING, block, language): None
                for language in LANGUAGES
                for block in MESSAGE_BLOCKS
            },
        },
    },
    "ntamsel.dll": {
        "exports": {},
        "exports_by_ordinal": CLIENT_LIBRARY,
        "imports": {},
        "resources": {},
    },
    "ZendriDS.dll": {"exports": COM_SERVER, "imports": {}, "resources": {}},
    "OrvennaDesktop.dll": {"exports": COM_SERVER, "imports": {}, "resources": {}},
    # The package's steps: Windows Installer calls them by name (installer/TamselDesktop.wxs).
    # The client library is loaded from the client's folder at install time, not imported.
    "TamselSetup.dll": {
        "exports": {
            1: "ApplyClientSettings",
            2: "PlanInstall",
            3: "PlanRemoval",
            4: "RegisterPlugin",
            5: "RemovePluginAtRestart",
            6: "UnregisterPlugin",
        },
        "imports": {},
        "resources": {},
    },
}
