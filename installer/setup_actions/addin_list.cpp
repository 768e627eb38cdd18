#include "addin_list.h"

#include "unicode_text.h"

#include <windows.h>

#include <vector>

namespace setup {
namespace {

std::vector<std::string> Entries(const std::string& list) {
    std::vector<std::string> entries;
    size_t start = 0;
    for (;;) {
        const size_t comma = list.find(',', start);
        entries.push_back(list.substr(start, comma - start));
        if (comma == std::string::npos)
            return entries;
        start = comma + 1;
    }
}

// The client loads an entry by name or by path; either way it is ours when the file is.
bool NamesOurModule(const std::string& entry) {
    const std::string name = Trimmed(entry);
    const size_t separator = name.find_last_of("\\/");
    const std::string file = separator == std::string::npos ? name : name.substr(separator + 1);
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, file.c_str(), int(file.size()),
                          addInModule, -1) == CSTR_EQUAL;
}

} // namespace

std::string WithAddIn(const std::string& list) {
    for (const std::string& entry : Entries(list))
        if (NamesOurModule(entry))
            return list;
    if (Trimmed(list).empty())
        return addInModule;
    return list + (Trimmed(list).back() == ',' ? "" : ",") + addInModule;
}

std::string WithoutAddIn(const std::string& list) {
    std::string kept;
    bool first = true;
    for (const std::string& entry : Entries(list)) {
        if (NamesOurModule(entry))
            continue;
        if (!first)
            kept += ',';
        kept += entry;
        first = false;
    }
    // Nothing but separators left: the list goes, as it was before we were added to it.
    return Trimmed(kept).find_first_not_of(',') == std::string::npos ? std::string() : kept;
}

} // namespace setup
