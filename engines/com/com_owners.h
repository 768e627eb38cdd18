// The automation owners, under the engines' own namespace.
#pragma once
#include "automation_owners.h"

namespace engine_com {

using automation::BstrView;
using automation::SafeArrayData;
using automation::UniqueBstr;
using automation::UniqueVariant;

} // namespace engine_com
