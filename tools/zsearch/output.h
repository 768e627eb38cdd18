// Program output as UTF-8, whatever the console's code page.
#pragma once
#include <string_view>

namespace zsearch {

void Print(std::string_view text);
void PrintError(std::string_view text);

} // namespace zsearch
