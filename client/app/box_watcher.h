// In headless runs nobody can click: every message box or dialog of the process is logged
// with its caption and text and answered, from a list of answers or with its default button.
#pragma once
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace nltamsel {

class BoxWatcher {
  public:
    explicit BoxWatcher(std::vector<std::string> answers);
    ~BoxWatcher();
    BoxWatcher(const BoxWatcher&) = delete;
    BoxWatcher& operator=(const BoxWatcher&) = delete;

  private:
    void Watch();
    void Answer(HWND box);

    std::vector<std::string> answers_;
    size_t nextAnswer_ = 0;
    std::vector<HWND> answered_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// The button id for an answer word ("yes", "ok", ...); 0 for an unknown word.
int ButtonForAnswer(const std::string& answer);

} // namespace nltamsel
