#pragma once
// Lexemes of a condition and the lexer that makes them.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "text/StringFunctions.h"

class TNonTerminal;
struct TRuleList;

// Lexeme kinds. The grammar selects rules by sets of these codes, and the tree
// node kinds (TNodeKind) continue the numbering, so the numbers matter.
enum TLexemKind : uint8_t {
    lkNone = 0,      // a word of no class; never kept in a list
    lkValue = 1,     // integer literal, Boolean constant, seat or suit
    lkNot = 2,       // "NOT"
    lkOperator = 3,  // a row of the operator table
    lkFunction = 4,  // a row of the function table
    lkOpen = 5,      // "("
    lkClose = 6,     // ")"
    lkComma = 7,     // ","
    lkEnd = 8,       // the end lexeme
};

// Text and position of the end lexeme that closes every non-empty list.
inline constexpr std::string_view EndLexemText = "Конец файла";

// The kind of an upper-case lexeme text: NOT, brackets and comma, values,
// function names, operators, in that order; lkNone for a word of no class.
uint8_t ClassifyLexem(std::string_view text);

// A lexeme as the lexer finds it, before any object is made for it: its first
// character, its length in characters and its kind (lkEnd for the end lexeme).
struct TLexemSpan {
    int32_t Position;
    int32_t Length;
    uint8_t Kind;
};

// The lexer. Resets the error state, upper-cases the UTF-8 text into
// `characters` and appends its lexemes to `spans`, the end lexeme last when
// there was at least one. An unrecognised word reports code 1, an integer
// literal outside the signed 32-bit range code 9, at its position; the result
// is then false and `spans` holds the lexemes before it.
bool ScanLexemes(std::string_view text, std::u32string& characters, std::vector<TLexemSpan>& spans);
// The upper-case text of a span of ScanLexemes (EndLexemText for the end lexeme).
std::string LexemText(std::u32string_view characters, const TLexemSpan& span);

class TLexem {
public:
    // A non-zero kind is kept as given. Kind lkNone classifies the text (already
    // upper-case): NOT, brackets and comma, values, function names, operators,
    // in that order; a value also gets its type and value text.
    TLexem(std::string text, int32_t position, uint8_t kind = lkNone);
    virtual ~TLexem() = default;
    TLexem(const TLexem&) = delete;
    TLexem& operator=(const TLexem&) = delete;

    // The value text: Value for a value lexeme, the empty text otherwise.
    // Tree nodes evaluate themselves here.
    virtual const std::string& GetValue();
    // The tree node this object is, or nullptr for a plain lexeme.
    virtual TNonTerminal* AsNode() { return nullptr; }

    int32_t Position;  // character offset of the lexeme in the condition
    std::string Text;  // the lexeme as written, upper-cased
    uint8_t Kind;      // TLexemKind, or a TNodeKind for tree nodes
    TValueType ValueType = vtNone;
    std::string Value;
};

// The lexemes of one condition, in order. The list owns the lexemes added to
// it and destroys them in FreeLexemes or when it is destroyed; tree nodes are
// never held here.
class TLexems {
public:
    TLexems() = default;
    ~TLexems() { FreeLexemes(); }
    TLexems(const TLexems&) = delete;
    TLexems& operator=(const TLexems&) = delete;

    // Classifies the text and appends the lexeme. An unrecognised word reports
    // code 1, an integer literal outside the signed 32-bit range code 9, both
    // at the position; nothing is appended then and the result is nullptr.
    TLexem* AddLexeme(std::string text, int32_t position);
    // Appends a lexeme made elsewhere (the end lexeme) without any check.
    TLexem* Add(std::unique_ptr<TLexem> lexeme);
    // The lexeme at the index, or nullptr outside 0 .. Count() - 1.
    TLexem* GetLexem(int32_t index) const;
    int32_t Count() const { return static_cast<int32_t>(items_.size()); }
    // Destroys every lexeme of the list and empties it.
    void FreeLexemes();

    // Resets the error state and splits the UTF-8 text into lexemes, appending
    // the end lexeme when there was at least one. False after an error has been
    // reported; the lexemes made before it stay in the list.
    bool Tokenize(std::string_view text);

    // Resets the error state and parses the list with the grammar's rules. The
    // root of the finished tree, or nullptr: after a reported error, or without
    // a message for an empty list. The tree refers to the list's lexemes, so
    // the list must outlive it.
    std::unique_ptr<TNonTerminal> Parse(const TRuleList& rules) const;

private:
    std::vector<TLexem*> items_;
};
