#pragma once
// A condition ready for a run: its lexemes and its checked tree, owned together.
// Prepare runs on the user-interface thread (messages may be shown); Matches
// then runs on the generator's thread, one deal at a time, and allocates nothing.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "language/CompiledEvaluator.h"
#include "language/Lexem.h"
#include "language/ParseTree.h"

class TDeal;

class TCompiledCondition {
public:
    // A condition whose tree would have more nodes is refused (code 10 at the
    // lexeme where the tree outgrows it) once it is known to be free of
    // lexical and syntax errors: the tree and its checks take memory and time
    // in proportion to it, and a run holds one tree per thread that tests
    // deals. About 100 kB of an ordinary condition's text.
    static constexpr int64_t MaxTreeNodes = 100'000;
    // A larger tree is evaluated as a tree rather than compiled: compiling
    // weighs the operands of AND and OR at every level, which costs up to
    // TCompiledEvaluator::MaxDepth walks over the tree.
    static constexpr int64_t MaxCompiledNodes = 25'000;
    // An uncompiled tree of more nodes takes milliseconds for every deal.
    static constexpr int64_t MaxCheapTreeNodes = 10'000;

    TCompiledCondition() = default;
    ~TCompiledCondition();
    TCompiledCondition(const TCompiledCondition&) = delete;
    TCompiledCondition& operator=(const TCompiledCondition&) = delete;

    // Resets the error state, then tokenizes the joined condition text, parses it
    // with the rules and type-checks the tree by evaluating it without a deal.
    // Lexical and syntax errors are found first, without building anything
    // (CheckSyntax), so that a huge text is refused quickly and in little memory.
    // True for an empty text (every deal matches) and for a Boolean condition
    // whose check reported nothing. False when any error was reported (its first
    // message went to the message sink) or, without a message, for a text of
    // blanks only; the condition is then released and ErrorPosition() tells
    // where the caret belongs.
    bool Prepare(std::string_view joinedText, const TRuleList& rules);

    // Whether the deal satisfies the prepared condition: keeps unless the
    // tree's value for the deal is exactly "0". Always true without a condition.
    // Runs the compiled form when the tree could be compiled, else MatchesByTree.
    bool Matches(TDeal& deal);
    // The same decision for a dealt deal held as card sets.
    bool Matches(const TCardSets& deal);
    // The same decision by binding the tree to the deal and evaluating it.
    bool MatchesByTree(TDeal& deal);
    // Whether Matches runs the compiled form.
    bool IsCompiled() const { return compiled_.IsCompiled(); }
    // More than 0 when testing a deal costs far more than dealing it: the
    // condition asks for something that solves deals (double-dummy tricks), or
    // it is a tree of more than MaxCheapTreeNodes nodes evaluated node by node.
    int32_t Cost() const;

    // Destroys the tree, then the lexemes.
    void ReleaseCondition();

    bool IsEmpty() const { return root_ == nullptr; }
    // The character offset of the error that refused the last Prepare.
    int32_t ErrorPosition() const { return errorPosition_; }
    // The tree and lexemes of a prepared condition (nullptr when empty).
    TNonTerminal* Root() const { return root_.get(); }
    const TLexems* Lexemes() const { return lexemes_.get(); }

private:
    std::unique_ptr<TLexems> lexemes_;
    std::unique_ptr<TNonTerminal> root_;
    int64_t nodeCount_ = 0;
    TCompiledEvaluator compiled_;
    TDeal fromCardSets_;  // the deal of card sets, for a tree evaluated without compiling
    int32_t errorPosition_ = 0;
};
