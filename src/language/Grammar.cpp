#include "language/Grammar.h"

#include <initializer_list>

#include "language/ErrorReport.h"
#include "language/Evaluation.h"

namespace {

// Build actions. Each first gives the node the current lexeme's position.

// Appends the current lexeme, then new nodes of the kinds; consumes the lexeme.
template <uint8_t... NewKinds>
int32_t TakeLexeme(TNonTerminal& node, TLexem& current) {
    node.Position = current.Position;
    node.AddChild(current);
    (node.AddChildNode(NewKinds), ...);
    return 1;
}

// Appends new nodes of the kinds; the lexeme stays current.
template <uint8_t... NewKinds>
int32_t Expand(TNonTerminal& node, TLexem& current) {
    node.Position = current.Position;
    (node.AddChildNode(NewKinds), ...);
    return 0;
}

// An empty expansion that records the lexeme ending it, which stays current
// and is consumed elsewhere.
int32_t RecordLexeme(TNonTerminal& node, TLexem& current) {
    node.Position = current.Position;
    node.AddChild(current);
    return 0;
}

// An omitted parameter: a lexeme of its own, the integer -1.
int32_t AddPlaceholder(TNonTerminal& node, TLexem& current) {
    node.Position = current.Position;
    node.AddOwnedChild(std::make_unique<TLexem>("-1", 0));
    return 0;
}

template <int32_t Code>
int32_t SyntaxError(TNonTerminal& node, TLexem& current) {
    node.Position = current.Position;
    if (!ErrorReported()) ReportError(Code, {}, current.Position);
    return -1;
}

constexpr uint32_t Kinds(std::initializer_list<uint8_t> kinds) {
    uint32_t mask = 0;
    for (uint8_t kind : kinds) mask |= 1u << kind;
    return mask;
}

struct TRuleRow {
    uint8_t node;
    uint32_t lookahead;
    TEvalAction eval;
    TBuildAction build;
};

// The masks are stored values of the rule table; Kinds() spells them out.
constexpr uint32_t ValueStart = Kinds({lkValue, lkNot, lkFunction, lkOpen});  // 54
static_assert(ValueStart == 54);

const TRuleRow RuleTable[ConditionRuleCount] = {
    // 1-4: Expression -> operand RPart
    {nkExpression, Kinds({lkValue}), EvalExpression, TakeLexeme<nkRPart>},
    {nkExpression, Kinds({lkFunction}), EvalExpression, Expand<nkFCall, nkRPart>},
    {nkExpression, Kinds({lkNot}), EvalExpression, Expand<nkNotExpression, nkRPart>},
    {nkExpression, Kinds({lkOpen}), EvalExpression, Expand<nkExprInBrackets, nkRPart>},
    // 5-6: RPart -> (empty) | operator Expression
    {nkRPart, Kinds({lkClose, lkComma, lkEnd}), nullptr, RecordLexeme},
    {nkRPart, Kinds({lkOperator}), nullptr, TakeLexeme<nkExpression>},
    // 7-8: FCall -> function FParameters; FParameters -> "(" ParamList
    {nkFCall, Kinds({lkFunction}), EvalCall, TakeLexeme<nkFParameters>},
    {nkFParameters, Kinds({lkOpen}), nullptr, TakeLexeme<nkParamList>},
    // 9-10: ParamList -> ")" | Parameter ParamTail
    {nkParamList, Kinds({lkClose}), nullptr, TakeLexeme<>},
    {nkParamList, Kinds({lkValue, lkNot, lkFunction, lkOpen, lkComma}), nullptr,
     Expand<nkParameter, nkParamTail>},
    // 11-12: ParamTail -> ")" | "," Parameter ParamTail
    {nkParamTail, Kinds({lkClose}), nullptr, TakeLexeme<>},
    {nkParamTail, Kinds({lkComma}), nullptr, TakeLexeme<nkParameter, nkParamTail>},
    // 13-14: Parameter -> (empty) | Expression
    {nkParameter, Kinds({lkClose, lkComma}), EvalOmitted, AddPlaceholder},
    {nkParameter, ValueStart, EvalParameter, Expand<nkExpression>},
    // 15: NotExpression -> NOT Expression
    {nkNotExpression, Kinds({lkNot}), EvalNot, TakeLexeme<nkExpression>},
    // 16: ExprInBrackets -> "(" ExprTail
    {nkExprInBrackets, Kinds({lkOpen}), EvalBrackets, TakeLexeme<nkExprTail>},
    // 17-18: ExprTail -> ")" | Expression ExpressionClose
    {nkExprTail, Kinds({lkClose}), nullptr, TakeLexeme<>},
    {nkExprTail, ValueStart, nullptr, Expand<nkExpression, nkExpressionClose>},
    // 19: ExpressionClose -> ")"
    {nkExpressionClose, Kinds({lkClose}), nullptr, TakeLexeme<>},
    // 20-27: syntax errors
    {nkExpression, Kinds({lkOperator, lkClose, lkComma, lkEnd}), nullptr,
     SyntaxError<ecMissingExpression>},
    {nkRPart, Kinds({lkValue, lkNot, lkFunction, lkOpen, lkClose, lkComma}), nullptr,
     SyntaxError<ecMissingOperator>},
    {nkFParameters, Kinds({lkValue, lkNot, lkOperator, lkFunction, lkClose, lkComma, lkEnd}),
     nullptr, SyntaxError<ecMissingOpen>},
    {nkParamList, Kinds({lkOperator, lkEnd}), nullptr, SyntaxError<ecMissingExpression>},
    {nkParamTail, Kinds({lkValue, lkNot, lkOperator, lkFunction, lkOpen, lkEnd}), nullptr,
     SyntaxError<ecMissingClose>},
    {nkParameter, Kinds({lkOperator, lkEnd}), nullptr, SyntaxError<ecMissingExpression>},
    {nkExprTail, Kinds({lkOperator, lkComma, lkEnd}), nullptr, SyntaxError<ecMissingExpression>},
    {nkExpressionClose, Kinds({lkEnd}), nullptr, SyntaxError<ecMissingClose>},
};

}  // namespace

std::unique_ptr<TRuleList> CreateConditionRules() {
    auto rules = std::make_unique<TRuleList>();
    for (int32_t k = 0; k < ConditionRuleCount; ++k) {
        const TRuleRow& row = RuleTable[k];
        rules->Rules[static_cast<std::size_t>(k)] =
            std::make_unique<TRule>(row.node, row.lookahead, row.eval, row.build);
    }
    return rules;
}

void FreeConditionRules(std::unique_ptr<TRuleList>& rules) { rules.reset(); }
