// UTF-8 helpers: the client's character set is UTF-8, but files and callers may hand in bytes
// that are not; those are replaced, never trusted.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace store {

// Length of the well-formed sequence starting at text[0], or 0 when it is malformed.
size_t Utf8SequenceLength(std::string_view text);
bool IsValidUtf8(std::string_view text);
// Every malformed sequence becomes U+FFFD.
std::string SanitizeUtf8(std::string_view text);
// The longest prefix of at most maxBytes that does not split a character.
size_t Utf8FitLength(std::string_view text, size_t maxBytes);
// The value of a hexadecimal digit, -1 for any other character.
int HexDigit(char c);
// Offset of the character before `offset` (a malformed byte counts as one character).
size_t Utf8PreviousStart(std::string_view text, size_t offset);

} // namespace store
