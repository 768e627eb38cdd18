// The description a component hands the engines: name, value, name, value ... as strings in
// a one-dimensional VARIANT array with lower bound 0 (VT_ARRAY | VT_VARIANT).
#pragma once
#include "com_owners.h"

#include <initializer_list>
#include <string_view>

namespace tamsel {

// Fills the empty owner; E_OUTOFMEMORY when the array or a string cannot be made.
HRESULT MakeDescription(std::initializer_list<std::wstring_view> items, UniqueVariant& description);

} // namespace tamsel
