/* The client's programming library. Every operation is exported by ordinal only. */
#ifndef NTAMSEL_H
#define NTAMSEL_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

/* 16-bit status of every operation: 0 = success. */
typedef WORD STORESTATUS;

#define STORE_NOERROR 0
#define STORE_ERR_NOT_DATABASE 259
#define STORE_ERR_NO_FILE 260 /* the file or its folder does not exist */
#define STORE_ERR_SETTINGS_IO 261
#define STORE_ERR_BAD_ARGUMENT 262
#define STORE_ERR_NO_MEMORY 263
#define STORE_ERR_NOT_INITIALISED 264 /* no data directory has been given */
#define STORE_ERR_NOT_DATABASE_FILE 513
#define STORE_ERR_UNUSABLE 540
#define STORE_ERR_STUB 549
#define STORE_ERR_DAMAGED 550 /* the note's record is damaged and cannot be read */
#define STORE_ERR_NO_NOTE 551
#define STORE_ERR_NOT_MODIFIED 572
#define STORE_ERR_REMOTE_REFUSED 788

/* A client time value: time of day and day number; a half with all bits set is absent. */
typedef struct STORETIME {
    DWORD timeOfDay;
    DWORD dayNumber;
} STORETIME;

/* Set-up of the library by the client program (or a test): the data directory and options.
   A null directory returns the library to its uninitialised state. Without this call the
   directory comes from the environment variable TAMSEL_DATA, else from where the client's
   installation recorded it for the user: HKEY_CURRENT_USER, key STORE_CLIENT_KEY, value
   STORE_DATA_DIRECTORY_VALUE (text). */
#define STORE_CLIENT_KEY L"Software\\Velmora\\Tamsel"
#define STORE_DATA_DIRECTORY_VALUE L"DataPath"
#define STORE_INIT_ECHO_LOG 0x0001 /* log lines also go to standard output */
STORESTATUS WINAPI StoreClientInit(const char* dataDirectory, DWORD options);
/* Called when a line cannot be added to the log or a setting cannot be written, with the
   file's path (UTF-8): once per file, and again only after a write to it has succeeded. It may
   run on any thread, with the library's locks held: it must not call the library. */
typedef void(WINAPI* STOREWRITEFAILEDPROC)(const char* file);
void WINAPI StoreSetWriteFailureHandler(STOREWRITEFAILEDPROC report);
/* The client is shutting down: StoreTerminationPending answers nonzero from now on. */
void WINAPI StoreClientShutdown(void);

STORESTATUS WINAPI StoreThreadInit(void);
void WINAPI StoreThreadTerm(void);
BOOL WINAPI StoreTerminationPending(void);

/* Loads message messageId from module's string table and appends one line to the client's log.
   Arguments: %s text in the client's character set, %d int, %X unsigned, %y const STORETIME*.
   Variadic, so it uses the C calling convention. */
void __cdecl StoreLogMessage(WORD messageId, HMODULE module, STORESTATUS status, ...);

/* Settings variables of the client's settings file. */
LONG WINAPI StoreGetEnvInt(const char* name);
BOOL WINAPI StoreGetEnvString(const char* name, char* buffer, WORD bufferSize);
STORESTATUS WINAPI StoreSetEnvInt(const char* name, LONG value);
STORESTATUS WINAPI StoreSetEnvString(const char* name, const char* value);

/* Character-set conversion. Returns the bytes written, terminator not counted. */
#define STORE_TRANSLATE_TO_CLIENT 0   /* platform code page -> client (UTF-8) */
#define STORE_TRANSLATE_TO_PLATFORM 1 /* client -> platform code page */
#define STORE_TRANSLATE_TO_UNICODE 20 /* client -> UTF-16 */
WORD WINAPI StoreTranslateText(WORD direction, const char* text, WORD length, char* destination,
                               WORD destinationSize);

/* Data directory, without a trailing separator, into a 256-byte buffer. Returns its length. */
WORD WINAPI StoreGetDataDirectory(char* buffer);

/* ---- Databases ------------------------------------------------------------------------------
   A database is one .zrb file. Statuses: STORE_ERR_NO_FILE (260) the file or its folder does
   not exist; STORE_ERR_NOT_DATABASE (259) the file cannot be read (a folder, say) or holds JSON
   without a database header; STORE_ERR_NOT_DATABASE_FILE (513) the file is empty or
   not JSON at all; STORE_ERR_REMOTE_REFUSED (788) the path names a server ("server!!file"). A
   database whose flags lack STORE_DBFLAG_USABLE opens; callers check the flags. */
#define STORE_ERR_WRITE 265 /* the database file cannot be written */

typedef DWORD DBHANDLE;      /* an open database */
typedef DWORD NOTEHANDLE;    /* a note in memory */
typedef DWORD IDTABLEHANDLE; /* a table of note IDs */
typedef DWORD NOTEID;

#define STORE_DBFLAG_USABLE 0x0001
#define STORE_NOTEID_DELETED 0x80000000 /* in change tables: the note is a deletion stub */
#define STORE_PATH_SIZE 256

/* An 8-byte identifier (replica id, halves of a universal id). Its text ("%H" of
   StoreFormatText) is 16 upper-case hex digits, high half first. */
typedef struct STOREID8 {
    DWORD low;
    DWORD high;
} STOREID8;

/* Originator identifier, 28 bytes: the universal id (file and note halves), the version's
   sequence number and time. A deletion stub keeps the identifier of its note. */
typedef struct STOREORIGINATORID {
    STOREID8 file;
    STOREID8 note;
    DWORD sequence;
    STORETIME sequenceTime;
} STOREORIGINATORID;

typedef struct STOREREPLICAINFO {
    STOREID8 replicaId;
    STORETIME created;
} STOREREPLICAINFO;

/* A path relative to the data directory is taken from there. */
STORESTATUS WINAPI StoreOpenDatabase(const char* path, DBHANDLE* database);
STORESTATUS WINAPI StoreCloseDatabase(DBHANDLE database);
/* Splits "server!!file" into its parts (each buffer STORE_PATH_SIZE bytes); a local path gives
   an empty server. Either output may be null. */
STORESTATUS WINAPI StoreParseNetPath(const char* path, char* server, char* file);
STORESTATUS WINAPI StoreGetDatabaseFlags(DBHANDLE database, DWORD* flags);
/* The time of the last change to the database's notes; non-data changes (unread marks, header)
   are not tracked apart and give the same time. Either output may be null. */
STORESTATUS WINAPI StoreGetDatabaseModifiedTime(DBHANDLE database, STORETIME* dataModified,
                                                STORETIME* nonDataModified);
STORESTATUS WINAPI StoreGetReplicaInfo(DBHANDLE database, STOREREPLICAINFO* info);
/* Database information: a text of STORE_DBINFO_SIZE bytes; StoreParseDatabaseInfo takes one
   field out of it (STORE_DBINFO_TITLE). */
#define STORE_DBINFO_SIZE 128
#define STORE_DBINFO_TITLE 0
STORESTATUS WINAPI StoreGetDatabaseInfo(DBHANDLE database, char* info);
STORESTATUS WINAPI StoreParseDatabaseInfo(const char* info, WORD field, char* buffer, WORD size);

/* The current user's name (function STORE_USERNAME_CURRENT): the settings variable "UserName",
   else the Windows account name. */
#define STORE_USERNAME_CURRENT 1
STORESTATUS WINAPI StoreGetUserName(WORD function, char* buffer, WORD size);

/* ---- Tables of note IDs ------------------------------------------------------------------- */
/* The user's unread notes; an empty table when the user has none. */
STORESTATUS WINAPI StoreGetUnreadTable(DBHANDLE database, const char* userName, WORD nameLength,
                                       IDTABLEHANDLE* table);
/* Notes of the classes in classMask (STORE_NOTECLASS_*) modified after `since`, deletion stubs
   with STORE_NOTEID_DELETED. `until` receives the time up to which the table is complete: pass
   it as the next since-time, and a change made meanwhile comes in the next table. Other
   programs' appends are read first. STORE_ERR_NOT_MODIFIED (572) and no table when nothing
   changed; `until` is set then too. */
STORESTATUS WINAPI StoreGetModifiedNoteTable(DBHANDLE database, WORD classMask, STORETIME since,
                                             STORETIME* until, IDTABLEHANDLE* table);
/* Calls callback for each ID in ascending order (a stub's flag bit counts, so stubs come after
   every live note); stops at the first nonzero status the callback returns and returns it. */
typedef STORESTATUS(WINAPI* STOREIDCALLBACK)(void* context, NOTEID id);
STORESTATUS WINAPI StoreIdTableEnumerate(IDTABLEHANDLE table, STOREIDCALLBACK callback,
                                         void* context);
DWORD WINAPI StoreIdTableCount(IDTABLEHANDLE table);
BOOL WINAPI StoreIdTableContains(IDTABLEHANDLE table, NOTEID id);
STORESTATUS WINAPI StoreIdTableFree(IDTABLEHANDLE table);

/* ---- Notes -------------------------------------------------------------------------------- */
#define STORE_NOTECLASS_DOCUMENT 0x0001
#define STORE_NOTECLASS_INFO 0x0002
#define STORE_NOTECLASS_FORM 0x0004
#define STORE_NOTECLASS_VIEW 0x0008
#define STORE_NOTECLASS_ALL 0xFFFF

/* STORE_ERR_STUB (549) for a deletion stub, STORE_ERR_DAMAGED (550) for a note whose record is
   damaged, STORE_ERR_NO_NOTE (551) for an ID the database never had. Open flags are accepted
   and ignored. */
STORESTATUS WINAPI StoreOpenNote(DBHANDLE database, NOTEID id, WORD flags, NOTEHANDLE* note);
STORESTATUS WINAPI StoreCloseNote(NOTEHANDLE note);
/* A new note in memory, of class document, belonging to the database; never written. */
STORESTATUS WINAPI StoreCreateNote(DBHANDLE database, NOTEHANDLE* note);

/* Codes of StoreGetNoteInfo and the output each fills. */
#define STORE_NOTEINFO_DATABASE 0   /* DBHANDLE */
#define STORE_NOTEINFO_ID 1         /* NOTEID */
#define STORE_NOTEINFO_ORIGINATOR 2 /* STOREORIGINATORID */
#define STORE_NOTEINFO_CLASS 3      /* WORD */
#define STORE_NOTEINFO_MODIFIED 4   /* STORETIME */
/* Leaves the output untouched for an unknown note or code. */
void WINAPI StoreGetNoteInfo(NOTEHANDLE note, WORD code, void* output);
/* Without opening the note; a deletion stub answers STORE_ERR_STUB with every output filled.
   Outputs may be null. */
STORESTATUS WINAPI StoreGetNoteInfoById(DBHANDLE database, NOTEID id, STOREORIGINATORID* originator,
                                        STORETIME* modified, WORD* noteClass);

/* ---- Items --------------------------------------------------------------------------------
   Item names ignore ASCII case. Texts are UTF-8; every output is bounded by its size and
   terminated; a text that does not fit is cut at a character boundary. */
#define STORE_TYPE_RICHTEXT 1
#define STORE_TYPE_ATTACHMENT 3
#define STORE_TYPE_NUMBER 768
#define STORE_TYPE_NUMBER_RANGE 769
#define STORE_TYPE_TIME 1024
#define STORE_TYPE_TIME_RANGE 1025
#define STORE_TYPE_TEXT 1280
#define STORE_TYPE_TEXT_LIST 1281
#define STORE_TYPE_FORMULA 1536

/* Status 0 when the note has the item, STORE_ERR_NO_NOTE (551) when it has not; the name is
   taken at nameLength bytes. Outputs (any may be null): its data type, the length of
   its text form in bytes, its number of values, and whether it is sealed (encrypted and not yet
   decrypted: it reads as empty). */
STORESTATUS WINAPI StoreGetItemInfo(NOTEHANDLE note, const char* name, WORD nameLength,
                                    WORD* dataType, DWORD* valueLength, WORD* valueCount,
                                    BOOL* sealed);
/* Text or text list (entries joined by ", "), other types in their text form. Returns the
   length of the terminated text: 0 when the item is absent or empty. */
WORD WINAPI StoreReadItemText(NOTEHANDLE note, const char* name, char* buffer, WORD size);
/* Nonzero when a time or time range item (its first time) was read. */
BOOL WINAPI StoreReadItemTime(NOTEHANDLE note, const char* name, STORETIME* time);
/* Nonzero when a number or number range item (its first number) was read; `value` is left as
   it was otherwise, so callers preset their default. */
BOOL WINAPI StoreReadItemNumber(NOTEHANDLE note, const char* name, double* value);
/* Any item as text, list entries separated by `separator`. Returns the length written. */
WORD WINAPI StoreItemToText(NOTEHANDLE note, const char* name, char* buffer, WORD size,
                            char separator);
WORD WINAPI StoreTextListCount(NOTEHANDLE note, const char* name);
/* Entry `index` (from 0) into the buffer; returns its length, 0 past the end. */
WORD WINAPI StoreTextListEntry(NOTEHANDLE note, const char* name, WORD index, char* buffer,
                               WORD size);
/* The display form of a name-list entry: a hierarchical name "CN=Anna Berg/OU=Sales/O=Acme"
   shows as "Anna Berg/Sales/Acme"; anything else is copied. Returns the bytes written. */
WORD WINAPI StoreTextToLocal(const char* entry, char* buffer, WORD size);

/* Standard mail items by code. */
#define STORE_MAIL_SENDTO 0
#define STORE_MAIL_COPYTO 1
#define STORE_MAIL_FROM 2
#define STORE_MAIL_SUBJECT 3
#define STORE_MAIL_COMPOSEDDATE 4
#define STORE_MAIL_POSTEDDATE 5
#define STORE_MAIL_DELIVEREDDATE 6
#define STORE_MAIL_BLINDCOPYTO 13
#define STORE_MAIL_REPLYTO 123
STORESTATUS WINAPI StoreGetMailItemText(NOTEHANDLE note, WORD code, char* buffer, WORD size,
                                        WORD* length);
STORESTATUS WINAPI StoreGetMailItemTime(NOTEHANDLE note, WORD code, STORETIME* time);

/* Nonzero when the note has sealed items (signatures are not kept: isSigned is FALSE). */
BOOL WINAPI StoreIsSignedOrSealed(NOTEHANDLE note, BOOL* isSigned, BOOL* isSealed);
/* Decrypts the sealed items of the note in memory with the database's key. */
STORESTATUS WINAPI StoreDecryptNote(NOTEHANDLE note, WORD flags, void* key);

/* Calls callback for every item in order; stops at the first nonzero status and returns it. */
typedef STORESTATUS(WINAPI* STOREITEMCALLBACK)(void* context, NOTEHANDLE note, const char* name,
                                               WORD nameLength, WORD dataType, DWORD valueLength);
STORESTATUS WINAPI StoreScanItems(NOTEHANDLE note, STOREITEMCALLBACK callback, void* context);

/* Renders a rich text item (null name: "Body") to a plain-text file (path in the client's
   character set): each paragraph ends with lineDelimiter, lines wrap at lineLength characters,
   tabs become blanks when convertTabs is set. Other items are written one paragraph per line
   of their text; a sealed item fails with STORE_ERR_STUB until decrypted. `size`
   (may be null) receives the bytes written. STORE_ERR_NO_NOTE when the item is absent. */
STORESTATUS WINAPI StoreMessageBodyToFile(NOTEHANDLE note, const char* itemName,
                                          const char* lineDelimiter, WORD lineLength,
                                          BOOL convertTabs, const char* path, DWORD* size);

/* ---- Texts -------------------------------------------------------------------------------- */
/* The shortest text that reads back as the same number. */
STORESTATUS WINAPI StoreNumberToText(const double* number, char* buffer, WORD size, WORD* length);
/* printf-like formatter: %s text, %d int, %u and %X unsigned, %H a const STOREID8* as 16 hex
   digits, %% a percent sign. Returns the length written. Variadic, so C calling convention. */
WORD __cdecl StoreFormatText(char* buffer, WORD size, const char* format, ...);
/* Steps over one UTF-8 character (a malformed byte counts as one); stays at a terminator. */
const char* WINAPI StoreNextCharacter(const char* text);
/* The start of the character before `position`, not before `start`. */
const char* WINAPI StorePreviousCharacter(const char* start, const char* position);

/* ---- Times ---------------------------------------------------------------------------------
   A time is kept in universal time with the writer's zone: timeOfDay = hundredths of a second
   since midnight UTC; dayNumber bits 0-23 = Julian day number of the UTC date, bits 24-30 =
   zone offset in quarter hours (7-bit two's complement, east positive, standard time), bit 31 =
   daylight saving time. A half with all bits set is absent (date-only and time-only values).
   Text: "2026-12-08 18:00:00.00 +01:00" (local date and clock, then the zone, then " DST" when
   daylight saving applies); date-only "2026-12-08", time-only "18:00:00.00". The earliest time
   (constant STORE_TIME_EARLIEST, both halves 0) has the empty text. */
#define STORE_TIME_EARLIEST 0
#define STORE_TIME_LATEST 1
#define STORE_TIME_ABSENT 0xFFFFFFFF

/* Which parts StoreTimeToText shows: date 0 = show, 1 = hide; time 0 = show, 1 = hide; zone
   0 = hide, 1 = show; structure 0 = date, 1 = time, 2 = date and time. A null format shows
   everything. */
typedef struct STORETIMEFORMAT {
    BYTE date;
    BYTE time;
    BYTE zone;
    BYTE structure;
} STORETIMEFORMAT;

typedef struct STORETIMEFIELDS {
    int year, month, day, weekday; /* weekday 1 = Sunday .. 7 */
    int hour, minute, second, hundredth;
} STORETIMEFIELDS;

/* The environment variable TAMSEL_CLOCK, a time in the text form above, sets the clock seen
   here: it reads that time when first asked and runs on from there (for tests and demos). */
void WINAPI StoreCurrentTime(STORETIME* time);
void WINAPI StoreSetTimeConstant(WORD code, STORETIME* time);
/* Negative, 0 or positive as a is before, at or after b (instants, whatever their zones). */
int WINAPI StoreCompareTimes(const STORETIME* a, const STORETIME* b);
/* The text is not terminated when it fills the buffer; `length` receives its length. The
   international settings argument is accepted and ignored. */
STORESTATUS WINAPI StoreTimeToText(const void* international, const STORETIMEFORMAT* format,
                                   const STORETIME* time, char* buffer, WORD size, WORD* length);
/* Parses the text form (also date-only and time-only; a date and time without a zone is UTC;
   an empty text is the earliest time). STORE_ERR_BAD_ARGUMENT when it is not a time. */
STORESTATUS WINAPI StoreTextToTime(const void* international, const STORETIMEFORMAT* format,
                                   const char* text, WORD length, STORETIME* time);
DWORD WINAPI StoreTimeDatePart(const STORETIME* time); /* dayNumber, or all bits set */
DWORD WINAPI StoreTimeTimePart(const STORETIME* time); /* timeOfDay, or all bits set */
/* The Julian day number of the UTC date; all bits set when there is none. */
DWORD WINAPI StoreTimeDayNumber(const STORETIME* time);
/* A UTC time from a Julian day number and hundredths since midnight (either may be
   STORE_TIME_ABSENT for a time-only or date-only value). */
STORESTATUS WINAPI StoreTimeConstruct(DWORD dayNumber, DWORD timeOfDay, STORETIME* time);
/* The calendar fields of the time as seen in the given zone (quarter hours, east positive)
   with or without daylight saving. */
STORESTATUS WINAPI StoreTimeToFields(const STORETIME* time, int zoneQuarters, BOOL dst,
                                     STORETIMEFIELDS* fields);

/* ---- Rich text compounds -------------------------------------------------------------------
   Builds a rich text item of a note in memory; StoreCompoundClose writes it into the note (it
   replaces an item of that name), StoreCompoundDiscard drops it. Styles and fonts are kept for
   the caller's bookkeeping only: text renders plain. */
typedef DWORD COMPOUNDHANDLE;
#define STORE_COMPOUND_DEFAULT_STYLE 0xFFFFFFFF

typedef struct STORECOMPOUNDSTYLE {
    WORD justify;
    WORD firstLineLeftMargin;
    WORD leftMargin;
    WORD rightMargin;
    WORD spacing;
    WORD flags;
} STORECOMPOUNDSTYLE;

STORESTATUS WINAPI StoreCompoundCreate(NOTEHANDLE note, const char* itemName,
                                       COMPOUNDHANDLE* compound);
void WINAPI StoreCompoundDefaultStyle(STORECOMPOUNDSTYLE* style);
STORESTATUS WINAPI StoreCompoundDefineStyle(COMPOUNDHANDLE compound, const char* name,
                                            const STORECOMPOUNDSTYLE* style, DWORD* styleId);
/* Appends `length` bytes of text as paragraphs: one per line, lines ending with lineDelimiter
   (a line feed when it is null). */
STORESTATUS WINAPI StoreCompoundAddText(COMPOUNDHANDLE compound, DWORD styleId, DWORD font,
                                        const char* text, DWORD length, const char* lineDelimiter);
STORESTATUS WINAPI StoreCompoundAddTextEx(COMPOUNDHANDLE compound, DWORD styleId, DWORD font,
                                          const char* text, DWORD length, const char* lineDelimiter,
                                          DWORD flags, void* reserved);
/* Appends the paragraphs of every rich text item of the source note. */
STORESTATUS WINAPI StoreCompoundAssimilateNote(COMPOUNDHANDLE compound, NOTEHANDLE source,
                                               DWORD flags, void* reserved);
STORESTATUS WINAPI StoreCompoundClose(COMPOUNDHANDLE compound, void* reserved1, void* reserved2,
                                      void* reserved3, DWORD reserved4);
STORESTATUS WINAPI StoreCompoundDiscard(COMPOUNDHANDLE compound);

/* ---- Design notes and formulas ---------------------------------------------------------- */
/* A design note of the class (STORE_NOTECLASS_FORM for forms) whose "$TITLE" (a name, or a
   list of name and aliases) matches `name` without regard to case. STORE_ERR_NO_NOTE when
   there is none. */
STORESTATUS WINAPI StoreFindDesignNote(DBHANDLE database, const char* name, WORD noteClass,
                                       NOTEID* id);

/* Formulas, as forms use them for "$WindowTitle": literals "text" (backslash escapes), 12.5
   and [2026-12-08 18:00]; item names (an absent item is the empty text); a + b adds numbers,
   joins texts and moves a time by seconds, pairwise on lists; a : b makes a list; parentheses
   group. StoreFormulaStart fails with STORE_ERR_BAD_ARGUMENT when the source does not parse. */
typedef DWORD FORMULAHANDLE;
typedef DWORD STOREBLOCK; /* memory owned by the library until StoreBlockFree */
STORESTATUS WINAPI StoreFormulaStart(const char* formula, WORD length, WORD flags,
                                     FORMULAHANDLE* computation);
/* Evaluates on the note. The result block starts with the WORD data type; then
     STORE_TYPE_TEXT         the UTF-8 text (resultLength - 2 bytes, not terminated)
     STORE_TYPE_TEXT_LIST    WORD count, then count WORD lengths, then the texts
     STORE_TYPE_NUMBER       one double
     STORE_TYPE_NUMBER_RANGE WORD count, WORD 0, then count doubles
     STORE_TYPE_TIME         one STORETIME
     STORE_TYPE_TIME_RANGE   WORD count, WORD 0, then count STORETIMEs
   The last three outputs may be null; they answer TRUE, FALSE and FALSE. A result whose
   operands do not go together (text plus number) fails with STORE_ERR_BAD_ARGUMENT. */
STORESTATUS WINAPI StoreFormulaEvaluate(FORMULAHANDLE computation, NOTEHANDLE note,
                                        STOREBLOCK* result, WORD* resultLength, BOOL* noteMatches,
                                        BOOL* noteShouldBeDeleted, BOOL* noteModified);
STORESTATUS WINAPI StoreFormulaStop(FORMULAHANDLE computation);
void* WINAPI StoreBlockLock(STOREBLOCK block);
void WINAPI StoreBlockUnlock(STOREBLOCK block);
STORESTATUS WINAPI StoreBlockFree(STOREBLOCK block);

#ifdef __cplusplus
}
#endif

#endif
