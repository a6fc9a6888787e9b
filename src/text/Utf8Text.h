#pragma once
// Condition texts are UTF-8; the lexer works on characters (code points) so
// that positions count a Cyrillic letter as one character.
#include <cstdint>
#include <string>
#include <string_view>

// One character read at a byte offset of a UTF-8 text: its code point and the
// bytes it takes; a byte that begins no well-formed sequence is one byte long,
// not WellFormed, and its Character is that byte's value.
struct TUtf8Character {
    char32_t Character = 0;
    std::size_t Length = 1;
    bool WellFormed = true;
};
TUtf8Character ReadUtf8(std::string_view text, std::size_t at);

// The text for a message: well-formed characters as they are, every other
// byte as "\xD2", so a quoted text never shows a broken character.
std::string PrintableUtf8(std::string_view text);

// The characters of a UTF-8 text. A byte that does not begin a well-formed
// sequence becomes one U+FFFD character, so every byte is accounted for.
std::u32string DecodeUtf8(std::string_view text);

// Appends one character in UTF-8.
void AppendUtf8(std::string& text, char32_t character);
std::string EncodeUtf8(std::u32string_view characters);

// Upper case as the Windows-1251 code page knows it: the Latin letters a-z and
// the Cyrillic letters of that code page (Ё, Ґ, Ў, Є, Ї, І and the Serbian and
// Macedonian letters included). Every other character is returned unchanged.
char32_t UpperCase1251(char32_t character);

// The text shortened to its first maxCharacters characters followed by "…"
// when it is longer; used to keep messages about huge words readable.
std::string ShortenedText(std::string_view text, int32_t maxCharacters);
