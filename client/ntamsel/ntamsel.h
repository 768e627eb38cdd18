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
#define STORE_ERR_SETTINGS_IO 261
#define STORE_ERR_BAD_ARGUMENT 262
#define STORE_ERR_NO_MEMORY 263
#define STORE_ERR_NOT_INITIALISED 264 /* no data directory has been given */
#define STORE_ERR_NOT_DATABASE_FILE 513
#define STORE_ERR_UNUSABLE 540
#define STORE_ERR_STUB 549
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
   directory comes from the environment variable TAMSEL_DATA. */
#define STORE_INIT_ECHO_LOG 0x0001 /* log lines also go to standard output */
STORESTATUS WINAPI StoreClientInit(const char* dataDirectory, DWORD options);
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

#ifdef __cplusplus
}
#endif

#endif
