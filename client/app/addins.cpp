#include "addins.h"

#include "client_messages.h"
#include "ntamsel.h"

#include <algorithm>

namespace nltamsel {
namespace {

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

HMODULE Self() {
    return GetModuleHandleW(nullptr);
}

} // namespace

void AddInHost::LoadAll(const std::string& list) {
    size_t start = 0;
    while (start < list.size()) {
        size_t comma = list.find(',', start);
        if (comma == std::string::npos)
            comma = list.size();
        const std::string name = Trim(list.substr(start, comma - start));
        start = comma + 1;
        if (name.empty())
            continue;
        wchar_t wide[MAX_PATH];
        StoreTranslateText(STORE_TRANSLATE_TO_UNICODE, name.c_str(), WORD(name.size()),
                           reinterpret_cast<char*>(wide), sizeof wide);
        AddIn addIn;
        addIn.name = name;
        addIn.module.reset(LoadLibraryW(wide));
        if (!addIn.module) {
            StoreLogMessage(msgAddInNotLoaded, Self(), 0, name.c_str(), int(GetLastError()));
            continue;
        }
        addIn.proc = reinterpret_cast<ADDINMENUPROC>(
            reinterpret_cast<void*>(GetProcAddress(addIn.module.get(), "AddinMenuProc")));
        if (!addIn.proc) {
            StoreLogMessage(msgAddInNoEntry, Self(), 0, name.c_str());
            continue;
        }
        StoreLogMessage(msgAddInLoaded, Self(), 0, name.c_str());
        ADDINMENURECORD record{};
        addIn.proc(ADDIN_MSG_INIT, &record);
        if (record.itemCount == 1) {
            addIn.offersItem = true;
            addIn.itemText.assign(record.itemText,
                                  strnlen(record.itemText, sizeof record.itemText));
            StoreLogMessage(msgMenuItem, Self(), 0, name.c_str(), addIn.itemText.c_str());
        }
        addIns_.push_back(std::move(addIn));
    }
}

std::vector<std::string> AddInHost::MenuItems() const {
    std::vector<std::string> items;
    for (const AddIn& addIn : addIns_)
        if (addIn.offersItem)
            items.push_back(addIn.itemText);
    return items;
}

bool AddInHost::Choose(size_t item, HWND owner) {
    for (AddIn& addIn : addIns_) {
        if (!addIn.offersItem)
            continue;
        if (item-- > 0)
            continue;
        ADDINMENURECORD record{};
        record.ownerWindow = owner;
        addIn.proc(ADDIN_MSG_COMMAND, &record);
        return true;
    }
    return false;
}

void AddInHost::TerminateAll() {
    for (AddIn& addIn : addIns_) {
        ADDINMENURECORD record{};
        addIn.proc(ADDIN_MSG_TERM, &record);
    }
    // The add-in loaded last goes first.
    while (!addIns_.empty())
        addIns_.pop_back();
}

} // namespace nltamsel
