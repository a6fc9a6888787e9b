#pragma once
// Conditions and expressions of the condition language as the simulations
// use them: checked with the language's own messages, which come back as a
// status rather than through the message sink, and evaluated per deal.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "language/ConditionCheck.h"
#include "text/Status.h"

struct TRuleList;

// Prepares a Boolean condition. A refusal is a Condition status (the
// language's message, Text the condition, Position in it); the installed
// message sink hears nothing.
TStatus PrepareCondition(TCompiledCondition& condition, std::string_view text,
                         const TRuleList& rules);

// An integer or Boolean expression. One object serves one thread at a time.
class TExpression {
public:
    TExpression();
    ~TExpression();
    TExpression(const TExpression&) = delete;
    TExpression& operator=(const TExpression&) = delete;

    // Tokenizes, parses and type-checks the text: an integer or a Boolean.
    // A refusal is a status as PrepareCondition gives.
    TStatus Prepare(std::string_view text, const TRuleList& rules);
    bool IsBoolean() const { return boolean_; }
    // The expression's value for the deal: an integer, or 1 and 0 for a Boolean.
    int32_t Value(TDeal& deal);

private:
    // Builds and checks the tree; false when the language refused the text.
    bool Check(std::string_view text, const TRuleList& rules);

    std::unique_ptr<TLexems> lexemes_;
    std::unique_ptr<TNonTerminal> root_;
    bool boolean_ = false;
};
