#include "box_watcher.h"

#include "client_messages.h"
#include "dialog_moves.h"
#include "ntamsel.h"

#include <algorithm>

namespace nltamsel {
namespace {

// Wine 8 tells an out-of-context event hook when a window is created but not when it is
// shown: after a dialog's creation the watcher looks this often, this long, for it to appear.
// With no dialog the watcher sleeps in GetMessage and costs the idle client nothing.
constexpr DWORD showPollMs = 20;
constexpr DWORD showWaitMs = 10000;
constexpr UINT dialogCreatedMessage = WM_APP + 1;

// The client's texts are UTF-8.
std::string WindowText(HWND window) {
    return dialog_moves::WindowText(window, CP_UTF8);
}

struct Search {
    DWORD process;
    std::vector<HWND> dialogs;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == search->process && dialog_moves::IsDialog(window))
        search->dialogs.push_back(window);
    return TRUE;
}

// Runs on the watcher's thread, which installed the hook out of context.
void CALLBACK OnWindowCreated(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD) {
    if (object == OBJID_WINDOW && dialog_moves::IsDialog(window))
        PostThreadMessageW(GetCurrentThreadId(), dialogCreatedMessage, WPARAM(window), 0);
}

const char* AnswerName(int button) {
    switch (button) {
    case IDOK:
        return "ok";
    case IDCANCEL:
        return "cancel";
    case IDYES:
        return "yes";
    case IDNO:
        return "no";
    case IDRETRY:
        return "retry";
    case IDABORT:
        return "abort";
    case IDIGNORE:
        return "ignore";
    default:
        return "default";
    }
}

} // namespace

int ButtonForAnswer(const std::string& answer) {
    for (int button : {IDOK, IDCANCEL, IDYES, IDNO, IDRETRY, IDABORT, IDIGNORE})
        if (answer == AnswerName(button))
            return button;
    return 0;
}

BoxWatcher::BoxWatcher(std::vector<std::string> answers, std::vector<DialogAction> script)
    : answers_(std::move(answers)), script_(std::move(script)) {
    // Wine loads its display driver on the first window call of a process; done here, on the
    // calling thread, rather than racing the watcher against DLLs that load under the loader lock.
    Search warmUp{GetCurrentProcessId(), {}};
    EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&warmUp));
    std::promise<DWORD> watching;
    std::future<DWORD> watcherThread = watching.get_future();
    thread_ = std::thread([this, &watching] { Watch(watching); });
    // Dialogs created from now on are reported to the watcher.
    threadId_ = watcherThread.get();
}

BoxWatcher::~BoxWatcher() {
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
}

HWND BoxWatcher::NewDialog(HWND except) {
    // Forget windows that are gone, so that a new box reusing a handle is answered.
    std::erase_if(answered_, [](HWND window) { return !IsWindow(window); });
    Search search{GetCurrentProcessId(), {}};
    EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&search));
    for (HWND dialog : search.dialogs)
        if (dialog != except && IsWindowVisible(dialog) &&
            std::find(answered_.begin(), answered_.end(), dialog) == answered_.end()) {
            answered_.push_back(dialog);
            return dialog;
        }
    return nullptr;
}

void BoxWatcher::Watch(std::promise<DWORD>& watching) {
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE); // the queue the hook and quit post to
    const HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr, OnWindowCreated,
                        GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    watching.set_value(GetCurrentThreadId());
    AnswerNewDialogs();
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message != dialogCreatedMessage)
            continue;
        const HWND created = reinterpret_cast<HWND>(message.wParam);
        dialog_moves::WaitUntil(showWaitMs, showPollMs,
                                [&] { return !IsWindow(created) || IsWindowVisible(created); });
        AnswerNewDialogs();
    }
    UnhookWinEvent(hook);
}

void BoxWatcher::AnswerNewDialogs() {
    while (HWND dialog = NewDialog(nullptr)) {
        if (scriptArmed_.exchange(false) && !script_.empty())
            Script(dialog);
        else
            Answer(dialog);
    }
}

void BoxWatcher::Script(HWND dialog) {
    RunDialogScript(dialog, script_, [this](HWND scripted, DWORD milliseconds) {
        HWND box = nullptr;
        dialog_moves::WaitUntil(milliseconds, showPollMs,
                                [&] { return (box = NewDialog(scripted)) != nullptr; });
        return box;
    });
    if (IsWindow(dialog) && IsWindowVisible(dialog))
        Answer(dialog);
}

void BoxWatcher::Answer(HWND box) {
    const std::string caption = WindowText(box);
    StoreLogMessage(msgBoxShown, GetModuleHandleW(nullptr), 0, caption.c_str(),
                    dialog_moves::StaticTexts(box, " | ", CP_UTF8).c_str());
    int button = 0;
    if (nextAnswer_ < answers_.size())
        button = ButtonForAnswer(answers_[nextAnswer_++]);
    if (button == 0) {
        const LRESULT defaultId = SendMessageW(box, DM_GETDEFID, 0, 0);
        button = HIWORD(defaultId) == DC_HASDEFID ? LOWORD(defaultId) : IDOK;
    }
    StoreLogMessage(msgBoxAnswered, GetModuleHandleW(nullptr), 0, caption.c_str(),
                    AnswerName(button));
    dialog_moves::PressButton(box, button);
}

} // namespace nltamsel
