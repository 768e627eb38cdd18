// Runs a modal dialog on a thread of its own, as a program's user-interface thread would, and
// drives it from the calling thread with window messages as a user would: clicking buttons and
// boxes, typing, choosing list entries and answering the boxes the dialog shows.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

struct ShownBox {
    std::string caption, text; // text: the box's static texts; empty caption = no box came
};

class DialogDriver {
  public:
    // show runs the dialog and returns when it closes; the constructor waits for its window.
    explicit DialogDriver(std::function<void()> show);
    // Cancels the dialog (and any box it shows) if it is still open.
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    HWND window() const { return dialog_; }
    bool IsOpen() const { return IsWindow(dialog_) != FALSE; }
    DWORD threadId() const { return threadId_; }

    // Clicks a button or check box; false (and nothing happens) when it is hidden or disabled.
    bool Click(int control);
    // Clicks a control that opens a box, answers the box with the given button and returns it.
    ShownBox ClickAndAnswer(int control, int answer);
    // Answers the next box the dialog shows (waiting for it a few seconds).
    ShownBox Answer(int answer);
    // Fills a file dialog's name field and confirms it.
    bool ChooseFile(const std::string& path);
    // Replaces a field's text key by key, or inserts text as a paste would.
    void Type(int control, const std::string& text);
    void Paste(int control, const std::string& text);
    // Selects a list entry, as a click on it would.
    void Select(int list, int entry);
    // The dialog's timer message, at once.
    void Tick(UINT_PTR timer);
    // Waits until the dialog has closed.
    bool WaitClosed(DWORD milliseconds = 5000);

    std::string Text(int control) const;
    bool Visible(int control) const;
    bool Enabled(int control) const;
    bool Checked(int control) const;
    std::vector<std::string> Entries(int list) const;
    int Selected(int list) const;

  private:
    HWND Item(int control) const { return GetDlgItem(dialog_, control); }
    HWND WaitForBox(DWORD milliseconds) const;

    std::thread thread_;
    DWORD threadId_ = 0;
    HWND dialog_ = nullptr;
};

} // namespace testing_support
