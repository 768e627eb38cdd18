// In headless runs nobody can click: every message box or dialog of the process is logged
// with its caption and text and answered, from a list of answers or with its default button.
#pragma once
#include "dialog_script.h"

#include <windows.h>

#include <atomic>
#include <future>
#include <string>
#include <thread>
#include <vector>

namespace nltamsel {

class BoxWatcher {
  public:
    // The script, if any, is done on the first dialog shown after ArmScript.
    BoxWatcher(std::vector<std::string> answers, std::vector<DialogAction> script);
    ~BoxWatcher();
    BoxWatcher(const BoxWatcher&) = delete;
    BoxWatcher& operator=(const BoxWatcher&) = delete;

    void ArmScript() { scriptArmed_ = true; }

  private:
    void Watch(std::promise<DWORD>& watching);
    void AnswerNewDialogs();
    void Answer(HWND box);
    void Script(HWND dialog);
    // A visible dialog of the process not seen before (and now seen), or null.
    HWND NewDialog(HWND except);

    std::vector<std::string> answers_;
    size_t nextAnswer_ = 0;
    std::vector<HWND> answered_;
    std::vector<DialogAction> script_;
    std::atomic<bool> scriptArmed_{false};
    std::thread thread_;
    DWORD threadId_ = 0;
};

// The button id for an answer word ("yes", "ok", ...); 0 for an unknown word.
int ButtonForAnswer(const std::string& answer);

} // namespace nltamsel
