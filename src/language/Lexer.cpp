// The lexer: TLexems::Tokenize.
#include "language/ErrorReport.h"
#include "language/Lexem.h"
#include "text/Utf8Text.h"

namespace {

bool IsDigitCharacter(char32_t c) { return c >= U'0' && c <= U'9'; }

bool IsSeparatorCharacter(char32_t c) { return c < 0x80 && IsSeparator(static_cast<char>(c)); }

bool IsCompareCharacter(char32_t c) { return c < 0x80 && IsCompareChar(static_cast<char>(c)); }

}  // namespace

bool TLexems::Tokenize(std::string_view text) {
    std::u32string characters = DecodeUtf8(text);
    for (char32_t& c : characters) c = UpperCase1251(c);
    ResetErrorState();

    const auto count = static_cast<int32_t>(characters.size());
    std::u32string_view all(characters);
    bool failed = false;
    int32_t wordStart = -1;  // offset of the pending word's first character, -1: none

    auto add = [&](int32_t start, int32_t length) {
        if (!AddLexeme(EncodeUtf8(all.substr(static_cast<std::size_t>(start),
                                             static_cast<std::size_t>(length))),
                       start))
            failed = true;
    };
    auto flush = [&](int32_t end) {
        if (wordStart < 0) return;
        add(wordStart, end - wordStart);
        wordStart = -1;
    };

    for (int32_t i = 0; i < count && !failed; ++i) {
        const char32_t c = characters[static_cast<std::size_t>(i)];
        if (c == U'-' && i + 1 < count && IsDigitCharacter(characters[i + 1u])) {
            // A minus sign directly before a digit always starts a negative literal.
            flush(i);
            if (failed) break;
            int32_t last = i + 1;
            while (last + 1 < count && IsDigitCharacter(characters[last + 1u])) ++last;
            add(i, last - i + 1);
            i = last;
        } else if (IsSeparatorCharacter(c)) {
            flush(i);
            if (!failed && c != U' ') add(i, 1);
        } else if (IsCompareCharacter(c)) {
            flush(i);
            if (failed) break;
            if (i + 1 < count && IsCompareCharacter(characters[i + 1u])) {
                add(i, 2);
                ++i;
            } else {
                add(i, 1);
            }
        } else if (wordStart < 0) {
            wordStart = i;
        }
    }
    if (!failed) flush(count);
    if (!failed && Count() > 0)
        Add(std::make_unique<TLexem>(std::string(EndLexemText), count - 1, lkEnd));
    return !failed;
}
