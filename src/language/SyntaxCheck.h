#pragma once
// A first pass over a condition that finds its lexical and syntax errors, with
// the same messages and positions as Tokenize and Parse, without making
// lexeme objects or a tree: a few bytes per lexeme and per pending node, so
// that a huge or deeply nested text is refused quickly and in little memory.
// It also counts the nodes the tree of a correct text would have.
#include <cstdint>
#include <string_view>

struct TSyntaxCheck {
    bool Passed = false;      // no error was reported
    int32_t LexemeCount = 0;  // the end lexeme included; 0 for a blank text
    int64_t NodeCount = 0;    // the nodes of the tree Parse would build
    // The position of the lexeme at which the tree grew beyond the node limit
    // given to CheckSyntax, or -1 when it never did.
    int32_t OverLimitPosition = -1;
};

// Resets the error state, then checks the UTF-8 text as Tokenize and Parse with
// the rules of CreateConditionRules would, reporting the first error.
TSyntaxCheck CheckSyntax(std::string_view text, int64_t nodeLimit);
