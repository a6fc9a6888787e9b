#pragma once
// Conditions and expressions of the condition language as the simulations
// use them: checked with the language's own messages, which come back as an
// input error rather than through the message sink, and evaluated per deal.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "language/ConditionCheck.h"
#include "simulation/InputError.h"

struct TRuleList;

// Prepares a Boolean condition. False with `error` set (Kind Condition, the
// language's message, Text the condition, Position in it); the installed
// message sink hears nothing.
bool PrepareCondition(TCompiledCondition& condition, std::string_view text, const TRuleList& rules,
                      TInputError& error);

// An integer or Boolean expression. One object serves one thread at a time.
class TExpression {
public:
    TExpression();
    ~TExpression();
    TExpression(const TExpression&) = delete;
    TExpression& operator=(const TExpression&) = delete;

    // Tokenizes, parses and type-checks the text: an integer or a Boolean.
    // False with `error` set as PrepareCondition does.
    bool Prepare(std::string_view text, const TRuleList& rules, TInputError& error);
    bool IsBoolean() const { return boolean_; }
    // The expression's value for the deal: an integer, or 1 and 0 for a Boolean.
    int32_t Value(TDeal& deal);

private:
    std::unique_ptr<TLexems> lexemes_;
    std::unique_ptr<TNonTerminal> root_;
    bool boolean_ = false;
};
