// The client program's command line.
#pragma once
#include "dialog_script.h"

#include <optional>
#include <string>
#include <vector>

namespace nltamsel {

struct Options {
    std::string dataDirectory;        // --data DIR
    bool headless = false;            // --headless: no main window, boxes answered by themselves
    std::optional<unsigned> seconds;  // --seconds N: run this long, then exit
    std::optional<unsigned> menuItem; // --menu K: choose add-in item K once started
    std::vector<std::string> answers; // --answer yes,no,...: answers to boxes, in order
    std::vector<DialogAction> dialogScript; // --dialog ACTIONS: for the menu command's dialog
    bool install = false; // --install: record the program's folder, handle the client's URLs
    std::string url;      // --url URL: open a document or start a reply, then exit
    bool help = false;
};

// Empty with an error text when the command line is wrong.
std::optional<Options> ParseOptions(const std::vector<std::string>& arguments, std::string& error);
// The usage text, with the actions of --dialog.
std::string Usage();

} // namespace nltamsel
