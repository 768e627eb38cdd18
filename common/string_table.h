// Reads one entry of a string-table resource in an exact language, with its full length
// (entries may hold embedded zeros), without relying on LoadString's language choice.
#pragma once
#include <windows.h>

#include <string_view>

namespace tamsel {

// Empty view when the block is missing in that language, the entry is empty, or the
// block's data ends before the entry.
inline std::wstring_view FindStringTableEntry(HMODULE module, unsigned id, LANGID language) {
    HRSRC info =
        FindResourceExW(module, MAKEINTRESOURCEW(6), MAKEINTRESOURCEW((id >> 4) + 1), language);
    if (!info)
        return {};
    HGLOBAL loaded = LoadResource(module, info);
    const auto* data = static_cast<const WCHAR*>(loaded ? LockResource(loaded) : nullptr);
    if (!data)
        return {};
    const size_t units = SizeofResource(module, info) / sizeof(WCHAR);
    size_t pos = 0;
    for (unsigned entry = 0; entry < (id & 15); ++entry) {
        if (pos >= units)
            return {};
        pos += 1 + data[pos];
    }
    if (pos >= units)
        return {};
    const size_t length = data[pos];
    if (length == 0 || pos + 1 + length > units)
        return {};
    return {reinterpret_cast<const wchar_t*>(data + pos + 1), length};
}

} // namespace tamsel
