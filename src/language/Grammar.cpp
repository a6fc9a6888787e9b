#include "language/Grammar.h"

#include <initializer_list>

#include "language/ErrorReport.h"
#include "language/internal/Evaluation.h"

namespace {

// Build actions, each with the shape it gives a node. Each first gives the
// node the current lexeme's position.

// Appends the current lexeme, then new nodes of the kinds; consumes the lexeme.
template <uint8_t... NewKinds>
struct TTakeLexeme {
    static int32_t Build(TNonTerminal& node, TLexem& current) {
        node.Position = current.Position;
        node.AddChild(current);
        (node.AddChildNode(NewKinds), ...);
        return 1;
    }
    static constexpr TRuleShape Shape{1, 0, sizeof...(NewKinds), {NewKinds...}};
};

// Appends new nodes of the kinds; the lexeme stays current.
template <uint8_t... NewKinds>
struct TExpand {
    static int32_t Build(TNonTerminal& node, TLexem& current) {
        node.Position = current.Position;
        (node.AddChildNode(NewKinds), ...);
        return 0;
    }
    static constexpr TRuleShape Shape{0, 0, sizeof...(NewKinds), {NewKinds...}};
};

// An empty expansion that records the lexeme ending it, which stays current
// and is consumed elsewhere.
struct TRecordLexeme {
    static int32_t Build(TNonTerminal& node, TLexem& current) {
        node.Position = current.Position;
        node.AddChild(current);
        return 0;
    }
    static constexpr TRuleShape Shape{0, 0, 0, {}};
};

// An omitted parameter: a lexeme of its own, the integer -1.
struct TAddPlaceholder {
    static int32_t Build(TNonTerminal& node, TLexem& current) {
        node.Position = current.Position;
        node.AddOwnedChild(std::make_unique<TLexem>("-1", 0));
        return 0;
    }
    static constexpr TRuleShape Shape{0, 0, 0, {}};
};

template <int32_t Code>
struct TSyntaxError {
    static int32_t Build(TNonTerminal& node, TLexem& current) {
        node.Position = current.Position;
        if (!ErrorReported()) ReportError(Code, {}, current.Position);
        return -1;
    }
    static constexpr TRuleShape Shape{-1, Code, 0, {}};
};

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
    TRuleShape shape;
};

// A row whose build action and shape come from one action type.
template <typename TAction>
constexpr TRuleRow Row(uint8_t node, uint32_t lookahead, TEvalAction eval) {
    return TRuleRow{node, lookahead, eval, &TAction::Build, TAction::Shape};
}

// The masks are stored values of the rule table; Kinds() spells them out.
constexpr uint32_t ValueStart = Kinds({lkValue, lkNot, lkFunction, lkOpen});  // 54
static_assert(ValueStart == 54);

const TRuleRow RuleTable[ConditionRuleCount] = {
    // 1-4: Expression -> operand RPart
    Row<TTakeLexeme<nkRPart>>(nkExpression, Kinds({lkValue}), EvalExpression),
    Row<TExpand<nkFCall, nkRPart>>(nkExpression, Kinds({lkFunction}), EvalExpression),
    Row<TExpand<nkNotExpression, nkRPart>>(nkExpression, Kinds({lkNot}), EvalExpression),
    Row<TExpand<nkExprInBrackets, nkRPart>>(nkExpression, Kinds({lkOpen}), EvalExpression),
    // 5-6: RPart -> (empty) | operator Expression
    Row<TRecordLexeme>(nkRPart, Kinds({lkClose, lkComma, lkEnd}), nullptr),
    Row<TTakeLexeme<nkExpression>>(nkRPart, Kinds({lkOperator}), nullptr),
    // 7-8: FCall -> function FParameters; FParameters -> "(" ParamList
    Row<TTakeLexeme<nkFParameters>>(nkFCall, Kinds({lkFunction}), EvalCall),
    Row<TTakeLexeme<nkParamList>>(nkFParameters, Kinds({lkOpen}), nullptr),
    // 9-10: ParamList -> ")" | Parameter ParamTail
    Row<TTakeLexeme<>>(nkParamList, Kinds({lkClose}), nullptr),
    Row<TExpand<nkParameter, nkParamTail>>(
        nkParamList, Kinds({lkValue, lkNot, lkFunction, lkOpen, lkComma}), nullptr),
    // 11-12: ParamTail -> ")" | "," Parameter ParamTail
    Row<TTakeLexeme<>>(nkParamTail, Kinds({lkClose}), nullptr),
    Row<TTakeLexeme<nkParameter, nkParamTail>>(nkParamTail, Kinds({lkComma}), nullptr),
    // 13-14: Parameter -> (empty) | Expression
    Row<TAddPlaceholder>(nkParameter, Kinds({lkClose, lkComma}), EvalOmitted),
    Row<TExpand<nkExpression>>(nkParameter, ValueStart, EvalParameter),
    // 15: NotExpression -> NOT Expression
    Row<TTakeLexeme<nkExpression>>(nkNotExpression, Kinds({lkNot}), EvalNot),
    // 16: ExprInBrackets -> "(" ExprTail
    Row<TTakeLexeme<nkExprTail>>(nkExprInBrackets, Kinds({lkOpen}), EvalBrackets),
    // 17-18: ExprTail -> ")" | Expression ExpressionClose
    Row<TTakeLexeme<>>(nkExprTail, Kinds({lkClose}), nullptr),
    Row<TExpand<nkExpression, nkExpressionClose>>(nkExprTail, ValueStart, nullptr),
    // 19: ExpressionClose -> ")"
    Row<TTakeLexeme<>>(nkExpressionClose, Kinds({lkClose}), nullptr),
    // 20-27: syntax errors
    Row<TSyntaxError<ecMissingExpression>>(nkExpression,
                                           Kinds({lkOperator, lkClose, lkComma, lkEnd}), nullptr),
    Row<TSyntaxError<ecMissingOperator>>(
        nkRPart, Kinds({lkValue, lkNot, lkFunction, lkOpen, lkClose, lkComma}), nullptr),
    Row<TSyntaxError<ecMissingOpen>>(
        nkFParameters, Kinds({lkValue, lkNot, lkOperator, lkFunction, lkClose, lkComma, lkEnd}),
        nullptr),
    Row<TSyntaxError<ecMissingExpression>>(nkParamList, Kinds({lkOperator, lkEnd}), nullptr),
    Row<TSyntaxError<ecMissingClose>>(
        nkParamTail, Kinds({lkValue, lkNot, lkOperator, lkFunction, lkOpen, lkEnd}), nullptr),
    Row<TSyntaxError<ecMissingExpression>>(nkParameter, Kinds({lkOperator, lkEnd}), nullptr),
    Row<TSyntaxError<ecMissingExpression>>(nkExprTail, Kinds({lkOperator, lkComma, lkEnd}),
                                           nullptr),
    Row<TSyntaxError<ecMissingClose>>(nkExpressionClose, Kinds({lkEnd}), nullptr),
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

const TRuleShape* ConditionRuleShape(uint8_t nodeKind, uint8_t lexemKind) {
    for (const TRuleRow& row : RuleTable) {
        if (row.node == nodeKind && lexemKind <= 31 && ((row.lookahead >> lexemKind) & 1u) != 0)
            return &row.shape;
    }
    return nullptr;
}
