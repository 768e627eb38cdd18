// The menu add-ins the settings file lists: loaded at start, told of each event, unloaded at exit.
#pragma once
#include "addin_menu.h"
#include "unique_resource.h"

#include <string>
#include <vector>

namespace nltamsel {

class AddInHost {
  public:
    AddInHost() = default;
    AddInHost(const AddInHost&) = delete;
    AddInHost& operator=(const AddInHost&) = delete;
    ~AddInHost() { TerminateAll(); }

    // Loads every add-in of a comma-separated list of DLL names or paths and initialises it.
    void LoadAll(const std::string& list);
    // The texts of the menu items the add-ins offered, in order.
    std::vector<std::string> MenuItems() const;
    // Sends the command for item k; false when there is no such item.
    bool Choose(size_t item, HWND owner);
    // Sends the termination message to every initialised add-in, then unloads them all.
    void TerminateAll();

  private:
    struct AddIn {
        std::string name;
        win32::UniqueLibrary module;
        ADDINMENUPROC proc = nullptr;
        bool offersItem = false;
        std::string itemText;
    };
    std::vector<AddIn> addIns_;
};

} // namespace nltamsel
