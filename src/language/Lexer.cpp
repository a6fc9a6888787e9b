// The lexer: ScanLexemes, and TLexems::Tokenize on top of it.
#include "language/ErrorReport.h"
#include "language/Lexem.h"
#include "text/Utf8Text.h"

namespace {

bool IsDigitCharacter(char32_t c) { return c >= U'0' && c <= U'9'; }

bool IsSeparatorCharacter(char32_t c) { return c < 0x80 && IsSeparator(static_cast<char>(c)); }

bool IsCompareCharacter(char32_t c) { return c < 0x80 && IsCompareChar(static_cast<char>(c)); }

void AppendCharacters(std::string& text, std::u32string_view characters) {
    for (char32_t c : characters) AppendUtf8(text, c);
}

}  // namespace

std::string LexemText(std::u32string_view characters, const TLexemSpan& span) {
    if (span.Kind == lkEnd) return std::string(EndLexemText);
    std::string text;
    AppendCharacters(text, characters.substr(static_cast<std::size_t>(span.Position),
                                             static_cast<std::size_t>(span.Length)));
    return text;
}

bool ScanLexemes(std::string_view text, std::u32string& characters,
                 std::vector<TLexemSpan>& spans) {
    characters = DecodeUtf8(text);
    for (char32_t& c : characters) c = UpperCase1251(c);
    ResetErrorState();

    const auto count = static_cast<int32_t>(characters.size());
    const std::u32string_view all(characters);
    const std::size_t firstSpan = spans.size();
    bool failed = false;
    int32_t wordStart = -1;  // offset of the pending word's first character, -1: none
    std::string word;        // reused for every lexeme's UTF-8 text

    auto add = [&](int32_t start, int32_t length) {
        word.clear();
        AppendCharacters(
            word, all.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(length)));
        const uint8_t kind = ClassifyLexem(word);
        int32_t value = 0;
        if (kind == lkNone) {
            ReportError(ecUnknownWord, word, start);
            failed = true;
        } else if (kind == lkValue && IsInteger(word) && !TryTextToInt(word, value)) {
            ReportError(ecNumberOutOfRange, word, start);
            failed = true;
        } else {
            spans.push_back(TLexemSpan{start, length, kind});
        }
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
    if (!failed && spans.size() > firstSpan)
        spans.push_back(TLexemSpan{count - 1, 0, static_cast<uint8_t>(lkEnd)});
    return !failed;
}

bool TLexems::Tokenize(std::string_view text) {
    std::u32string characters;
    std::vector<TLexemSpan> spans;
    const bool scanned = ScanLexemes(text, characters, spans);
    items_.reserve(items_.size() + spans.size());
    for (const TLexemSpan& span : spans) {
        const uint8_t kind = span.Kind == lkEnd ? span.Kind : static_cast<uint8_t>(lkNone);
        Add(std::make_unique<TLexem>(LexemText(characters, span), span.Position, kind));
    }
    return scanned;
}
