#pragma once
// The grammar of conditions: 27 rules for the rule engine, 19 that build the
// tree and 8 that report a syntax error. All binary operators share one level
// and group to the right; NOT covers the whole expression on its right.
//
//   Expression      -> value RPart | FCall RPart | NotExpression RPart | ExprInBrackets RPart
//   RPart           -> (empty) | operator Expression
//   FCall           -> function FParameters
//   FParameters     -> "(" ParamList
//   ParamList       -> ")" | Parameter ParamTail
//   ParamTail       -> ")" | "," Parameter ParamTail
//   Parameter       -> (empty: the integer -1) | Expression
//   NotExpression   -> NOT Expression
//   ExprInBrackets  -> "(" ExprTail
//   ExprTail        -> ")" | Expression ExpressionClose
//   ExpressionClose -> ")"
#include <array>
#include <cstdint>
#include <memory>

#include "language/ParseTree.h"

// A new rule set, in the order in which the rules are tried.
std::unique_ptr<TRuleList> CreateConditionRules();
// Destroys the rules (the same as letting the pointer go).
void FreeConditionRules(std::unique_ptr<TRuleList>& rules);

// What a rule's build action does to a node, told without building anything:
// how many lexemes it consumes (-1: it reports the syntax error ErrorCode) and
// the kinds of the new nodes it appends, in order.
struct TRuleShape {
    int8_t Consumed;
    uint8_t ErrorCode;
    uint8_t NodeCount;
    std::array<uint8_t, TNonTerminal::MaxChildren> Nodes;
};

// The shape of the first rule of CreateConditionRules that matches the node
// kind and lexeme kind, or nullptr when none does.
const TRuleShape* ConditionRuleShape(uint8_t nodeKind, uint8_t lexemKind);
