#include "output.h"

#include <windows.h>

namespace zsearch {
namespace {

void WriteTo(DWORD which, std::string_view text) {
    DWORD written = 0;
    WriteFile(GetStdHandle(which), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

} // namespace

void Print(std::string_view text) {
    WriteTo(STD_OUTPUT_HANDLE, text);
}
void PrintError(std::string_view text) {
    WriteTo(STD_ERROR_HANDLE, text);
}

} // namespace zsearch
