/* The client's menu add-in protocol: the client calls each add-in's exported AddinMenuProc. */
#ifndef ADDIN_MENU_H
#define ADDIN_MENU_H

#include <stddef.h>
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

#define ADDIN_MSG_INIT 0    /* once, after loading: the add-in fills in its menu item */
#define ADDIN_MSG_COMMAND 2 /* the user chose the add-in's item */
#define ADDIN_MSG_TERM 3    /* the client is closing */

#define ADDIN_ITEM_TEXT_SIZE 64

typedef struct ADDINMENURECORD {
    HWND ownerWindow;                    /* command: window that owns the add-in's windows */
    SHORT itemCount;                     /* init: 1 = one item in itemText, -1 = none */
    char itemText[ADDIN_ITEM_TEXT_SIZE]; /* init: item text in the client's character set */
    WORD itemIndex;                      /* command: which of the add-in's items was chosen */
} ADDINMENURECORD;

typedef WORD(WINAPI* ADDINMENUPROC)(WORD message, ADDINMENURECORD* record);

#ifdef __cplusplus
}
/* The window handle is followed directly by the count and the text, on either pointer size. */
static_assert(offsetof(ADDINMENURECORD, itemCount) == sizeof(HWND));
static_assert(offsetof(ADDINMENURECORD, itemText) == sizeof(HWND) + 2);
#endif

#endif
