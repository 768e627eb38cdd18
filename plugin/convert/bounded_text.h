// Building texts in the client's character set (UTF-8) inside fixed buffers.
#pragma once
#include <windows.h>

#include <string_view>

namespace tamsel {

// Appends as much of the piece as fits before the buffer's last byte, never half a
// character, and terminates. False when the piece was cut.
inline bool AppendBounded(char* buffer, WORD capacity, int& length, std::string_view piece) {
    size_t count = piece.size();
    const bool fits = length + count < capacity;
    if (!fits) {
        count = capacity - 1 - length;
        while (count > 0 && (static_cast<unsigned char>(piece[count]) & 0xC0) == 0x80)
            --count;
    }
    piece.copy(buffer + length, count);
    length += int(count);
    buffer[length] = '\0';
    return fits;
}

// Other bytes, those of multi-byte characters too, stay as they are.
inline char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

} // namespace tamsel
