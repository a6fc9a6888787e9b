#include "deals/GeneratorProgram.h"

#include <string_view>

#include "deals/Deal.h"
#include "language/Evaluation.h"
#include "language/ParseTree.h"
#include "language/StringFunctions.h"

namespace {

using TOp = TConditionProgram::TOp;

struct TFunctionOp {
    std::string_view Name;
    TOp Op;
    int32_t Arguments;  // after the seat
};

constexpr TFunctionOp FunctionOps[] = {
    {"HCP", TOp::Hcp, 1},           {"SUITLENGTH", TOp::SuitLength, 1}, {"SUITBYLENGTH", TOp::SuitByLength, 1},
    {"BALANCED", TOp::Balanced, 2}, {"POLISH1C", TOp::Polish1c, 4},     {"UNBAL1D", TOp::Unbal1d, 2},
    {"PREC1D", TOp::Prec1d, 4},     {"PREC1H", TOp::Prec1h, 2},         {"PREC1S", TOp::Prec1s, 2},
    {"PREC2C", TOp::Prec2c, 2},     {"MULTY", TOp::Multy, 6},           {"RANGE", TOp::Range, 2},
    {"SUITS", TOp::Suits, 5},       {"SHAPE", TOp::Shape, 5},
};

struct TOperatorOp {
    std::string_view Text;
    TOp Op;
};

constexpr TOperatorOp OperatorOps[] = {
    {"+", TOp::Add},     {"-", TOp::Subtract},     {"<", TOp::Less},   {"<=", TOp::LessOrEqual},
    {">", TOp::Greater}, {">=", TOp::GreaterOrEqual}, {"=", TOp::Equal}, {"<>", TOp::NotEqual},
    {"OR", TOp::Or},     {"AND", TOp::And},
};

int32_t Wrapped(int64_t value) { return static_cast<int32_t>(static_cast<uint32_t>(value)); }

}  // namespace

bool TConditionProgram::Compile(TNonTerminal& root) {
    steps_.clear();
    registers_.clear();
    result_ = root.ValueType == vtBoolean ? CompileExpression(root, 0) : -1;
    if (result_ < 0) {
        steps_.clear();
        registers_.clear();
    }
    return result_ >= 0;
}

int32_t TConditionProgram::Emit(TStep step) {
    step.Target = Constant(0);
    steps_.push_back(step);
    return step.Target;
}

int32_t TConditionProgram::Constant(int32_t value) {
    registers_.push_back(value);
    return static_cast<int32_t>(registers_.size()) - 1;
}

// Expression: a primary, then either nothing or an operator and the Expression
// on its right (operators group to the right).
int32_t TConditionProgram::CompileExpression(const TNonTerminal& node, int32_t depth) {
    if (depth > MaxDepth || node.Kind != nkExpression || node.ValueType == vtNone) return -1;
    const TNonTerminal* rest = node.ChildNode(1);
    const TLexem* follower = rest != nullptr ? rest->Child(0) : nullptr;
    if (follower == nullptr) return -1;
    int32_t left = CompilePrimary(node, depth);
    if (left < 0 || follower->Kind != lkOperator) return left;
    const TNonTerminal* right = rest->ChildNode(1);
    int32_t rightRegister = right != nullptr ? CompileExpression(*right, depth + 1) : -1;
    if (rightRegister < 0) return -1;
    for (const TOperatorOp& op : OperatorOps) {
        if (op.Text != follower->Text) continue;
        TStep step;
        step.Op = op.Op;
        step.Operands[0] = left;
        step.Operands[1] = rightRegister;
        return Emit(step);
    }
    return -1;
}

// The first child of an Expression: a value, a call, NOT or brackets.
int32_t TConditionProgram::CompilePrimary(const TNonTerminal& expression, int32_t depth) {
    const TLexem* first = expression.Child(0);
    if (first == nullptr) return -1;
    const TNonTerminal* node = expression.ChildNode(0);
    if (node == nullptr) {
        switch (first->ValueType) {
            case vtInteger: return Constant(TextToInt(first->Value, 0));
            case vtBoolean: return Constant(TextToBool(first->Value, true) ? 1 : 0);
            case vtPosition: return Constant(SeatCode(first->Value));
            case vtSuit: return Constant(SuitCode(first->Value));
            default: return -1;
        }
    }
    if (node->ValueType == vtNone) return -1;
    switch (node->Kind) {
        case nkFCall: return CompileCall(*node, depth + 1);
        case nkNotExpression: {
            const TNonTerminal* operand = node->ChildNode(1);
            int32_t value = operand != nullptr ? CompileExpression(*operand, depth + 1) : -1;
            if (value < 0) return -1;
            TStep step;
            step.Op = TOp::Not;
            step.Operands[0] = value;
            return Emit(step);
        }
        case nkExprInBrackets: {
            const TNonTerminal* tail = node->ChildNode(1);
            const TNonTerminal* inner = tail != nullptr ? tail->ChildNode(0) : nullptr;
            return inner != nullptr ? CompileExpression(*inner, depth + 1) : -1;
        }
        default: return -1;
    }
}

// A call: the seat and the arguments of the signature; an argument not written
// (or written empty) is -1, parameters beyond the signature change nothing.
int32_t TConditionProgram::CompileCall(const TNonTerminal& call, int32_t depth) {
    const TLexem* name = call.Child(0);
    if (name == nullptr) return -1;
    const TFunctionOp* function = nullptr;
    for (const TFunctionOp& candidate : FunctionOps)
        if (candidate.Name == name->Text) function = &candidate;
    const TParameters parameters = CollectParameters(call);
    if (function == nullptr || parameters.Count == 0) return -1;

    TStep step;
    step.Op = function->Op;
    for (int32_t k = 0; k <= function->Arguments; ++k) {
        const TNonTerminal* parameter = parameters[k];
        int32_t value;
        if (parameter == nullptr) {
            value = Constant(-1);
        } else if (parameter->Rule != nullptr && parameter->Rule->Eval == EvalOmitted) {
            value = Constant(-1);
        } else {
            const TNonTerminal* expression = parameter->ChildNode(0);
            value = expression != nullptr ? CompileExpression(*expression, depth + 1) : -1;
        }
        if (value < 0) return -1;
        step.Operands[k] = value;
    }
    return Emit(step);
}

bool TConditionProgram::Matches(TDeal& deal) {
    int32_t* r = registers_.data();
    for (const TStep& s : steps_) {
        const int32_t* o = s.Operands;
        int32_t value = 0;
        switch (s.Op) {
            case TOp::Add: value = Wrapped(int64_t{r[o[0]]} + r[o[1]]); break;
            case TOp::Subtract: value = Wrapped(int64_t{r[o[0]]} - r[o[1]]); break;
            case TOp::Less: value = r[o[0]] < r[o[1]]; break;
            case TOp::LessOrEqual: value = r[o[0]] <= r[o[1]]; break;
            case TOp::Greater: value = r[o[0]] > r[o[1]]; break;
            case TOp::GreaterOrEqual: value = r[o[0]] >= r[o[1]]; break;
            case TOp::Equal: value = r[o[0]] == r[o[1]]; break;
            case TOp::NotEqual: value = r[o[0]] != r[o[1]]; break;
            case TOp::Or: value = (r[o[0]] != 0) || (r[o[1]] != 0); break;
            case TOp::And: value = (r[o[0]] != 0) && (r[o[1]] != 0); break;
            case TOp::Not: value = r[o[0]] == 0; break;
            case TOp::Hcp: value = deal.HCP(r[o[0]], r[o[1]]); break;
            case TOp::SuitLength: value = deal.SuitLength(r[o[0]], r[o[1]]); break;
            case TOp::SuitByLength: value = deal.SuitByLength(r[o[0]], r[o[1]]); break;
            case TOp::Range: value = deal.Range(r[o[0]], r[o[1]], r[o[2]]); break;
            case TOp::Balanced: value = deal.Balanced(r[o[0]], r[o[1]], r[o[2]]); break;
            case TOp::Unbal1d: value = deal.Unbal1d(r[o[0]], r[o[1]], r[o[2]]); break;
            case TOp::Prec1h: value = deal.Prec1h(r[o[0]], r[o[1]], r[o[2]]); break;
            case TOp::Prec1s: value = deal.Prec1s(r[o[0]], r[o[1]], r[o[2]]); break;
            case TOp::Prec2c: value = deal.Prec2c(r[o[0]], r[o[1]], r[o[2]]); break;
            case TOp::Polish1c: value = deal.Polish1c(r[o[0]], r[o[1]], r[o[2]], r[o[3]], r[o[4]]); break;
            case TOp::Prec1d: value = deal.Prec1d(r[o[0]], r[o[1]], r[o[2]], r[o[3]], r[o[4]]); break;
            case TOp::Multy:
                value = deal.Multy(r[o[0]], r[o[1]], r[o[2]], r[o[3]], r[o[4]], r[o[5]], r[o[6]]);
                break;
            case TOp::Suits: value = deal.Suits(r[o[0]], r[o[1]], r[o[2]], r[o[3]], r[o[4]], r[o[5]]); break;
            case TOp::Shape: value = deal.Shape(r[o[0]], r[o[1]], r[o[2]], r[o[3]], r[o[4]], r[o[5]]); break;
        }
        r[s.Target] = value;
    }
    return r[result_] != 0;
}
