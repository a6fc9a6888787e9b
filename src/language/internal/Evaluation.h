#pragma once
// Type checking and evaluation of condition trees. Evaluating a tree without a
// deal is the type check: every action checks the types it combines and
// reports the first mismatch; every call then yields "0". With a deal bound,
// calls are answered by the deal's hand functions.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "language/FunctionTable.h"
#include "language/ParseTree.h"

// Evaluation actions of the grammar's rules. Each sets the node's ValueType and
// Value (vtNone and the empty text on a type error) and returns Value.
const std::string& EvalExpression(TNonTerminal& node);  // value/call/NOT/brackets [operator ...]
const std::string& EvalCall(TNonTerminal& node);        // a function call
const std::string& EvalOmitted(TNonTerminal& node);     // a parameter written empty: -1
const std::string& EvalParameter(TNonTerminal& node);   // a parameter with an expression
const std::string& EvalNot(TNonTerminal& node);         // NOT expression
const std::string& EvalBrackets(TNonTerminal& node);    // ( expression )

// True when x has the type t; otherwise reports code 6 with t's name at x's
// position. An absent x (a parameter not written) passes for vtInteger and vtSuit.
bool CheckType(const TLexem* x, TValueType t);

// The result type of a binary operator over the two operands, or vtNone after
// a reported mismatch.
TValueType OperatorType(std::string_view op, const TLexem& left, const TLexem& right);

// The Parameter nodes of a call: the first MaxKept in order, and how many are
// written in all. Parameters beyond a function's signature are counted only.
struct TParameters {
    static constexpr int32_t MaxKept = 1 + MaxFunctionArguments;  // the seat and the rest
    std::array<TNonTerminal*, MaxKept> Kept{};
    int32_t Count = 0;
    // The k-th parameter (0: the seat), or nullptr when it is not written.
    TNonTerminal* operator[](int32_t k) const {
        return k < Count && k < MaxKept ? Kept[static_cast<std::size_t>(k)] : nullptr;
    }
};
TParameters CollectParameters(const TNonTerminal& call);

// The result type of a call of the named function (upper case) with the
// parameters, whose values are already computed, as its row in the function
// table says; vtNone after a reported error, or without a message where the
// row leaves the report to the caller. A call without parameters reports
// code 8 "Позиция" at the call.
TValueType FunctionType(std::string_view name, const TParameters& parameters,
                        const TNonTerminal& call);
