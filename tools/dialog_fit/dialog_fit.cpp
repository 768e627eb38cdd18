// dialog_fit: lays out the built plug-in's settings dialog in each of its ten languages and
// prints every text that does not fit its control, measured with the dialog's own font.
// The status lines are measured in their longest forms. Prints nothing and exits with 0 when
// every text fits, else exits with 1.
#include "catalogue/message_ids.h"
#include "string_table.h"
#include "ui/settings_dialog_ids.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace tamsel;

enum class Kind { wrapping, singleLine, checkBox, button };

struct Measured {
    int control;
    Kind kind;
    std::vector<MessageId> messages; // shown one after the other
    const wchar_t* tail;             // a formatted part, at its widest
};

const Measured measured[] = {
    {IDC_INTRODUCTION, Kind::wrapping, {msgDialogIntroduction}, L""},
    {IDC_ENABLE, Kind::checkBox, {msgDialogEnable}, L""},
    {IDC_ADD, Kind::button, {msgDialogAdd}, L""},
    {IDC_REMOVE, Kind::button, {msgDialogRemove}, L""},
    {IDC_SELECTED_STATUS, Kind::singleLine, {msgDialogSelectedStatus, msgNotIndexingYet}, L""},
    {IDC_SELECTED_STATUS, Kind::singleLine, {msgDialogSelectedStatus, msgPausedOnDocument}, L""},
    {IDC_SELECTED_STATUS,
     Kind::singleLine,
     {msgDialogSelectedStatus, msgLastIndexed},
     L"2026-12-08 18:00:00.00 +01:00 DST"},
    {IDC_INDEX_ENCRYPTED, Kind::checkBox, {msgDialogIndexEncrypted}, L""},
    {IDC_INDEX_DRAFTS, Kind::checkBox, {msgDialogIndexDrafts}, L""},
    {IDC_INDEX_ON_IDLE, Kind::checkBox, {msgDialogIndexOnIdle}, L""},
    {IDC_REINDEX_ALL, Kind::checkBox, {msgDialogReindexAll}, L""},
    {IDC_INDEX_EVERY, Kind::singleLine, {msgDialogIndexEvery}, L""},
    {IDC_MINUTES_LABEL, Kind::singleLine, {msgDialogMinutes}, L""},
    {IDC_HELP_TEXT, Kind::wrapping, {msgDisableNote}, L""},
    {IDC_PROCESSING, Kind::singleLine, {msgDialogProcessing, msgIndexingHistory}, L""},
    {IDC_PROCESSING,
     Kind::singleLine,
     {msgDialogProcessing},
     L"C:\\Users\\user\\AppData\\Local\\Velmora\\Tamsel\\Data\\mail\\archive2026.zrb"},
    {IDC_STATUS, Kind::singleLine, {msgDialogStatus, msgIndexingDocument}, L""},
    {IDC_STATUS, Kind::singleLine, {msgDialogStatus, msgPausedOnDocument}, L""},
    // While the engine is not ready.
    {IDC_STATUS, Kind::singleLine, {msgDialogStatus, msgEngineNotInstalled}, L""},
    {IDC_STATUS, Kind::singleLine, {msgDialogStatus, msgEngineNotRunning}, L""},
    {IDC_STATUS, Kind::singleLine, {msgDialogStatus, msgComponentNotRegistered}, L""},
    {IDC_STATUS, Kind::singleLine, {msgDialogStatus, msgEnginePaused}, L""},
    {IDC_STATUS, Kind::singleLine, {msgDialogStatus, msgComponentDisabled}, L""},
    {IDC_ABOUT, Kind::button, {msgDialogAbout}, L""},
    {IDC_OK, Kind::button, {msgDialogOk}, L""},
    {IDC_CANCEL, Kind::button, {msgDialogCancel}, L""},
    {IDC_APPLY, Kind::button, {msgDialogApply}, L""},
};

struct Language {
    LANGID id;
    const char* name;
};
const Language languages[] = {{1033, "en"}, {1031, "de"}, {1034, "es"}, {1035, "fi"}, {1036, "fr"},
                              {1040, "it"}, {1043, "nl"}, {1044, "no"}, {1046, "pt"}, {1053, "sv"}};

// The widest form of "%d of %d (%d%%)": six-digit counts and 100 %.
std::wstring Widest(std::wstring_view format) {
    std::wstring text;
    int number = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == L'%' && i + 1 < format.size()) {
            ++i;
            text += format[i] == L'%' ? L"%" : (number++ == 2 ? L"100" : L"888888");
            continue;
        }
        text += format[i];
    }
    return text;
}

std::string Utf8(const std::wstring& text) {
    char utf8[2048];
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), utf8,
                                          sizeof utf8, nullptr, nullptr);
    return std::string(utf8, size_t(bytes > 0 ? bytes : 0));
}

// The room a control gives its text, in pixels.
SIZE Room(HWND control, Kind kind, HWND dialog) {
    RECT rect;
    GetClientRect(control, &rect);
    RECT box{0, 0, 12 + 4, 0}; // a check box's square and the gap before its text
    RECT edge{0, 0, 4, 0};     // a push button's frame and margin on each side
    MapDialogRect(dialog, &box);
    MapDialogRect(dialog, &edge);
    LONG width = rect.right;
    if (kind == Kind::checkBox)
        width -= box.right;
    if (kind == Kind::button)
        width -= 2 * edge.right;
    return {width, rect.bottom};
}

INT_PTR CALLBACK Quiet(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

} // namespace

int wmain() {
    const HMODULE plugin = LoadLibraryW(L"TamselDesktop.dll");
    if (!plugin) {
        std::fprintf(stderr, "dialog_fit: cannot load TamselDesktop.dll\n");
        return 2;
    }
    const HWND dialog =
        CreateDialogParamW(plugin, MAKEINTRESOURCEW(IDD_SETTINGS), nullptr, Quiet, 0);
    if (!dialog) {
        std::fprintf(stderr, "dialog_fit: no dialog 109 in TamselDesktop.dll\n");
        return 2;
    }
    const HDC context = GetDC(dialog);
    SelectObject(context, HFONT(SendMessageW(dialog, WM_GETFONT, 0, 0)));
    int misfits = 0;
    for (const Language& language : languages) {
        for (const Measured& item : measured) {
            std::wstring text;
            for (const MessageId message : item.messages)
                text += Widest(FindStringTableEntry(plugin, message, language.id));
            text += item.tail;
            const HWND control = GetDlgItem(dialog, item.control);
            const SIZE room = Room(control, item.kind, dialog);
            RECT needed{0, 0, room.cx, 0};
            const UINT wrap = item.kind == Kind::wrapping ? DT_WORDBREAK : DT_SINGLELINE;
            DrawTextW(context, text.c_str(), int(text.size()), &needed,
                      DT_CALCRECT | DT_NOPREFIX | wrap);
            if (needed.right <= room.cx && needed.bottom <= room.cy)
                continue;
            ++misfits;
            std::printf("%s  control %d: needs %ld x %ld px, has %ld x %ld: \"%s\"\n",
                        language.name, item.control, needed.right, needed.bottom, room.cx, room.cy,
                        Utf8(text).c_str());
        }
    }
    if (misfits)
        std::printf("%d text(s) do not fit, in %zu languages\n", misfits, std::size(languages));
    ReleaseDC(dialog, context);
    DestroyWindow(dialog);
    return misfits ? 1 : 0;
}
