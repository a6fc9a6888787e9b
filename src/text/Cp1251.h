#pragma once
// The Windows-1251 code page as a table: the byte of a Unicode character and back.
// The table matches the platform's Windows-1251 reader byte for byte; 0x98,
// which the code page leaves unused, stands for U+0098 both ways.
#include <optional>

namespace cp1251 {

// The byte that stands for `codePoint`, or nothing when the code page cannot hold it.
std::optional<unsigned char> FromUnicode(char32_t codePoint);

// The character a byte stands for.
char32_t ToUnicode(unsigned char byte);

}  // namespace cp1251
