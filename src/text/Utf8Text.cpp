#include "text/Utf8Text.h"

namespace {

constexpr char32_t ReplacementCharacter = 0xFFFD;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

TUtf8Character ReadUtf8(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    char32_t character = 0;
    char32_t lowest = 0;
    if (lead < 0x80) {
        length = 1;
        character = lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        character = lead & 0x1F;
        lowest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        character = lead & 0x0F;
        lowest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        character = lead & 0x07;
        lowest = 0x10000;
    }
    bool wellFormed = length != 0 && at + length <= text.size();
    for (std::size_t k = 1; wellFormed && k < length; ++k) {
        const auto byte = static_cast<unsigned char>(text[at + k]);
        if (!IsContinuation(byte)) wellFormed = false;
        character = (character << 6) | (byte & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not characters.
    if (wellFormed && (character < lowest || character > 0x10FFFF ||
                       (character >= 0xD800 && character <= 0xDFFF)))
        wellFormed = false;
    if (wellFormed) return {character, length, true};
    return {lead, 1, false};
}

std::string PrintableUtf8(std::string_view text) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const TUtf8Character c = ReadUtf8(text, i);
        if (c.WellFormed) {
            result.append(text.substr(i, c.Length));
        } else {
            result += "\\x";
            result += Hex[c.Character >> 4];
            result += Hex[c.Character & 0xF];
        }
        i += c.Length;
    }
    return result;
}

std::u32string DecodeUtf8(std::string_view text) {
    std::u32string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const TUtf8Character c = ReadUtf8(text, i);
        result.push_back(c.WellFormed ? c.Character : ReplacementCharacter);
        i += c.Length;
    }
    return result;
}

void AppendUtf8(std::string& text, char32_t c) {
    if (c < 0x80) {
        text.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        text.push_back(static_cast<char>(0xC0 | (c >> 6)));
        text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        text.push_back(static_cast<char>(0xE0 | (c >> 12)));
        text.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        text.push_back(static_cast<char>(0xF0 | (c >> 18)));
        text.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

std::string EncodeUtf8(std::u32string_view characters) {
    std::string text;
    text.reserve(characters.size());
    for (char32_t c : characters) AppendUtf8(text, c);
    return text;
}

char32_t UpperCase1251(char32_t c) {
    if (c >= U'a' && c <= U'z') return c - 0x20;
    if (c >= 0x0430 && c <= 0x044F) return c - 0x20;  // а..я
    // ѐ..џ of the code page: ё ђ ѓ є ѕ і ї ј љ њ ћ ќ ў џ (ѐ and ѝ are not in it).
    if (c >= 0x0451 && c <= 0x045F && c != 0x045D) return c - 0x50;
    if (c == 0x0491) return 0x0490;  // ґ
    return c;
}

std::string ShortenedText(std::string_view text, int32_t maxCharacters) {
    std::size_t bytes = 0;
    int32_t count = 0;
    while (bytes < text.size() && count < maxCharacters) {
        ++bytes;
        while (bytes < text.size() && IsContinuation(static_cast<unsigned char>(text[bytes])))
            ++bytes;
        ++count;
    }
    if (bytes >= text.size()) return std::string(text);
    return std::string(text.substr(0, bytes)) + "…";
}
