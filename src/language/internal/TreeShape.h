#pragma once
// Named parts of the nodes the grammar builds, so that evaluators read a
// node's shape by name rather than by child index. Each returns nullptr where
// the node does not have that part (an incomplete or foreign tree).
#include "language/ParseTree.h"

// Expression -> operand RPart; RPart -> (the lexeme that ends it) | operator Expression.
inline TLexem* OperandOf(const TNonTerminal& expression) { return expression.Child(0); }
// The lexeme after the operand: an operator, or the ")", "," or end that closes the expression.
inline TLexem* FollowerOf(const TNonTerminal& expression) {
    const TNonTerminal* rest = expression.ChildNode(1);
    return rest != nullptr ? rest->Child(0) : nullptr;
}
// The Expression right of the operator.
inline TNonTerminal* RightOperandOf(const TNonTerminal& expression) {
    const TNonTerminal* rest = expression.ChildNode(1);
    return rest != nullptr ? rest->ChildNode(1) : nullptr;
}

// FCall -> function FParameters: the function's word.
inline TLexem* FunctionWordOf(const TNonTerminal& call) { return call.Child(0); }

// Calls fn with every Parameter node of the call, in order. FParameters ->
// "(" ParamList; ParamList -> ")" | Parameter ParamTail; ParamTail -> ")" |
// "," Parameter ParamTail.
template <typename TFn>
void ForEachParameter(const TNonTerminal& call, TFn fn) {
    const TNonTerminal* parameters = call.ChildNode(1);
    const TNonTerminal* list = parameters != nullptr ? parameters->ChildNode(1) : nullptr;
    int32_t tailIndex = 1;  // the tail of a ParamList is its child 1, of a ParamTail its child 2
    while (list != nullptr && list->Child(tailIndex) != nullptr) {
        if (TNonTerminal* parameter = list->ChildNode(tailIndex - 1)) fn(*parameter);
        list = list->ChildNode(tailIndex);
        tailIndex = 2;
    }
}

// Parameter -> Expression (or a placeholder lexeme when written empty).
inline TLexem* ParameterValueOf(const TNonTerminal& parameter) { return parameter.Child(0); }
inline TNonTerminal* ParameterExpressionOf(const TNonTerminal& parameter) {
    return parameter.ChildNode(0);
}

// NotExpression -> NOT Expression.
inline TNonTerminal* NegatedOf(const TNonTerminal& notExpression) {
    return notExpression.ChildNode(1);
}

// ExprInBrackets -> "(" ExprTail; ExprTail -> ")" | Expression ExpressionClose:
// the Expression, or the ")" of empty brackets.
inline TLexem* BracketedOf(const TNonTerminal& brackets) {
    const TNonTerminal* tail = brackets.ChildNode(1);
    return tail != nullptr ? tail->Child(0) : nullptr;
}
inline TNonTerminal* BracketedExpressionOf(const TNonTerminal& brackets) {
    const TNonTerminal* tail = brackets.ChildNode(1);
    return tail != nullptr ? tail->ChildNode(0) : nullptr;
}
