// Notes without a standard body: the first item of the configured data fields list.
#pragma once
#include "ntamsel.h"

#include <string>

namespace tamsel {

// The text of the first item of "DesktopSearchDataFields" (default "Body,DetailedReport")
// that the note has, even when that text is empty; empty when it has none of them.
std::wstring ReadDataFieldsText(NOTEHANDLE note);

} // namespace tamsel
