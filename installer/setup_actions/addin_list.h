// The client's list of menu add-ins ("AddInMenus": module names separated by commas, loaded in
// that order). Ours is added once, at the end, and taken out again; every other entry keeps its
// text and its place.
#pragma once
#include <string>

namespace setup {

constexpr char addInListVariable[] = "AddInMenus";
constexpr char addInModule[] = "TamselDesktop.dll";

// The list with our module, unchanged when an entry already names it.
std::string WithAddIn(const std::string& list);

// The list without any entry that names our module (by file name, in any case).
std::string WithoutAddIn(const std::string& list);

} // namespace setup
