#include "language/Evaluation.h"

#include <charconv>

#include "deals/Deal.h"
#include "language/ErrorReport.h"

namespace {

enum class TFunction {
    Hcp,
    SuitLength,
    SuitByLength,
    Balanced,
    Polish1c,
    Unbal1d,
    Prec1d,
    Prec1h,
    Prec1s,
    Prec2c,
    Multy,
    Range,
    Suits,
    Shape,
    Unknown
};

enum class TOperator {
    Plus,
    Minus,
    Less,
    LessOrEqual,
    Greater,
    GreaterOrEqual,
    Equal,
    NotEqual,
    Or,
    And,
    Unknown
};

// The operator words, recognised without a string comparison per word.
TOperator OperatorOf(std::string_view op) {
    if (op.size() == 1) {
        switch (op[0]) {
            case '+':
                return TOperator::Plus;
            case '-':
                return TOperator::Minus;
            case '<':
                return TOperator::Less;
            case '>':
                return TOperator::Greater;
            case '=':
                return TOperator::Equal;
            default:
                return TOperator::Unknown;
        }
    }
    if (op == "<=") return TOperator::LessOrEqual;
    if (op == ">=") return TOperator::GreaterOrEqual;
    if (op == "<>") return TOperator::NotEqual;
    if (op == "OR") return TOperator::Or;
    if (op == "AND") return TOperator::And;
    return TOperator::Unknown;
}

TFunction FunctionOf(std::string_view name) {
    for (std::size_t k = 0; k < FunctionWords.size(); ++k)
        if (FunctionWords[k] == name) return static_cast<TFunction>(k);
    return TFunction::Unknown;
}

// How many integers a Boolean function takes after the seat.
int32_t IntegerCount(TFunction function) {
    switch (function) {
        case TFunction::Balanced:
        case TFunction::Unbal1d:
        case TFunction::Prec1h:
        case TFunction::Prec1s:
        case TFunction::Prec2c:
        case TFunction::Range:
            return 2;
        case TFunction::Polish1c:
        case TFunction::Prec1d:
            return 4;
        case TFunction::Suits:
        case TFunction::Shape:
            return 5;
        case TFunction::Multy:
            return 6;
        default:
            return 0;
    }
}

void SetInteger(TNonTerminal& node, int32_t value) {
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    node.Value.assign(digits, result.ptr);
}

void SetBoolean(TNonTerminal& node, bool value) { node.Value.assign(1, value ? '1' : '0'); }

// Sums and differences wrap around in 32 bits.
int32_t WrappedSum(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
int32_t WrappedDifference(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

// Calls fn with every Parameter node of the call, in order.
template <typename TFn>
void ForEachParameter(const TNonTerminal& call, TFn fn) {
    const TNonTerminal* parameters = call.ChildNode(1);
    const TNonTerminal* list = parameters != nullptr ? parameters->ChildNode(1) : nullptr;
    int32_t index = 1;  // the tail of a ParamList is its child 1, of a ParamTail its child 2
    while (list != nullptr && list->Child(index) != nullptr) {
        if (TNonTerminal* parameter = list->ChildNode(index - 1)) fn(*parameter);
        list = list->ChildNode(index);
        index = 2;
    }
}

// The k-th integer argument of a hand function: -1 when it is not written.
int32_t IntegerArgument(const TParameters& parameters, int32_t k) {
    const TNonTerminal* parameter = parameters[k];
    return parameter != nullptr ? TextToInt(parameter->Value, 0) : -1;
}

// Asks the deal. Integer results are returned as such; Boolean ones as 0 or 1
// with isBoolean set.
int32_t CallHandFunction(TDeal& deal, TFunction function, const TParameters& p, bool& isBoolean) {
    const int32_t seat = SeatCode(p[0]->Value);
    auto a = [&p](int32_t k) { return IntegerArgument(p, k); };
    isBoolean = true;
    switch (function) {
        case TFunction::Hcp:
            isBoolean = false;
            return deal.HCP(seat, p.Count >= 2 ? SuitCode(p[1]->Value) : -1);
        case TFunction::SuitLength:
            isBoolean = false;
            return deal.SuitLength(seat, SuitCode(p[1]->Value));
        case TFunction::SuitByLength:
            isBoolean = false;
            return deal.SuitByLength(seat, a(1));
        case TFunction::Balanced:
            return deal.Balanced(seat, a(1), a(2));
        case TFunction::Unbal1d:
            return deal.Unbal1d(seat, a(1), a(2));
        case TFunction::Prec1h:
            return deal.Prec1h(seat, a(1), a(2));
        case TFunction::Prec1s:
            return deal.Prec1s(seat, a(1), a(2));
        case TFunction::Prec2c:
            return deal.Prec2c(seat, a(1), a(2));
        case TFunction::Polish1c:
            return deal.Polish1c(seat, a(1), a(2), a(3), a(4));
        case TFunction::Prec1d:
            return deal.Prec1d(seat, a(1), a(2), a(3), a(4));
        case TFunction::Multy:
            return deal.Multy(seat, a(1), a(2), a(3), a(4), a(5), a(6));
        case TFunction::Range:
            return deal.Range(seat, a(1), a(2));
        case TFunction::Suits:
            return deal.Suits(seat, a(1), a(2), a(3), a(4), a(5));
        case TFunction::Shape:
            return deal.Shape(seat, a(1), a(2), a(3), a(4), a(5));
        case TFunction::Unknown:
            break;
    }
    return 0;
}

// The offset just after a parameter's value text, where a missing one belongs.
// A parameter written empty has no text: its own position (the "," or ")"
// after it) is used, rather than counting the placeholder's "-1" past the end.
int32_t EndOf(const TNonTerminal& parameter) {
    const bool writtenEmpty = parameter.Rule != nullptr && parameter.Rule->Eval == EvalOmitted;
    return parameter.Position + (writtenEmpty ? 0 : CharCount(parameter.Value));
}

}  // namespace

bool CheckType(const TLexem* x, TValueType t) {
    if (x == nullptr) return t == vtInteger || t == vtSuit;
    if (x->ValueType == t) return true;
    ReportError(ecTypeMismatch, TypeName(t), x->Position);
    return false;
}

TValueType OperatorType(std::string_view op, const TLexem& left, const TLexem& right) {
    TValueType operandType = vtNone;
    TValueType resultType = vtNone;
    switch (OperatorOf(op)) {
        case TOperator::Plus:
        case TOperator::Minus:
            operandType = resultType = vtInteger;
            break;
        case TOperator::Or:
        case TOperator::And:
            operandType = resultType = vtBoolean;
            break;
        case TOperator::Unknown:
            ReportError(ecUnknown, op, 0);
            return vtNone;
        default:  // the comparisons: integers only, not even seats with "="
            operandType = vtInteger;
            resultType = vtBoolean;
    }
    if (!CheckType(&left, operandType) || !CheckType(&right, operandType)) return vtNone;
    return resultType;
}

TParameters CollectParameters(const TNonTerminal& call) {
    TParameters parameters;
    ForEachParameter(call, [&parameters](TNonTerminal& parameter) {
        if (parameters.Count < TParameters::MaxKept)
            parameters.Kept[static_cast<std::size_t>(parameters.Count)] = &parameter;
        ++parameters.Count;
    });
    return parameters;
}

TValueType FunctionType(std::string_view name, const TParameters& p, const TNonTerminal& call) {
    if (p.Count == 0) {
        ReportError(ecMissingParameter, TypeName(vtPosition), call.Position);
        return vtNone;
    }
    if (!CheckType(p[0], vtPosition)) return vtNone;
    const TFunction function = FunctionOf(name);
    switch (function) {
        case TFunction::Hcp:
            return CheckType(p[1], vtSuit) ? vtInteger : vtNone;
        case TFunction::SuitLength:
            if (p[1] == nullptr) {
                ReportError(ecMissingParameter, TypeName(vtSuit), EndOf(*p[0]));
                return vtNone;
            }
            return CheckType(p[1], vtSuit) ? vtInteger : vtNone;
        case TFunction::SuitByLength:
            // No message of its own: the enclosing operator or the final check reports.
            return p[1] != nullptr && p[1]->ValueType == vtInteger ? vtInteger : vtNone;
        case TFunction::Range:
        case TFunction::Suits:
        case TFunction::Shape:
            for (int32_t k = 1; k <= IntegerCount(function); ++k) {
                if (p[k] == nullptr) {
                    ReportError(ecMissingParameter, TypeName(vtInteger), EndOf(*p[k - 1]));
                    return vtNone;
                }
                if (!CheckType(p[k], vtInteger)) return vtNone;
            }
            return vtBoolean;
        case TFunction::Unknown:
            return vtNone;
        default:
            for (int32_t k = 1; k <= IntegerCount(function); ++k)
                if (!CheckType(p[k], vtInteger)) return vtNone;
            return vtBoolean;
    }
}

const std::string& EvalExpression(TNonTerminal& node) {
    TLexem& left = *node.Child(0);
    left.GetValue();
    TNonTerminal& rest = *node.ChildNode(1);
    const TLexem& follower = *rest.Child(0);
    if (follower.Kind != lkOperator) {  // ")", "," or the end: no operator
        node.ValueType = left.ValueType;
        node.Value = left.GetValue();
        return node.Value;
    }
    TNonTerminal& right = *rest.ChildNode(1);
    right.GetValue();
    const std::string_view op = follower.Text;
    node.ValueType = OperatorType(op, left, right);
    if (node.ValueType == vtNone) {
        node.Value.clear();
        return node.Value;
    }
    const std::string& leftValue = left.GetValue();
    const std::string& rightValue = right.GetValue();
    const TOperator kind = OperatorOf(op);
    if (kind == TOperator::Or || kind == TOperator::And) {
        const bool a = TextToBool(leftValue, true);
        const bool b = TextToBool(rightValue, true);
        SetBoolean(node, kind == TOperator::Or ? (a || b) : (a && b));
        return node.Value;
    }
    const int32_t a = TextToInt(leftValue, 0);
    const int32_t b = TextToInt(rightValue, 0);
    switch (kind) {
        case TOperator::Plus:
            SetInteger(node, WrappedSum(a, b));
            break;
        case TOperator::Minus:
            SetInteger(node, WrappedDifference(a, b));
            break;
        case TOperator::Less:
            SetBoolean(node, a < b);
            break;
        case TOperator::LessOrEqual:
            SetBoolean(node, a <= b);
            break;
        case TOperator::Greater:
            SetBoolean(node, a > b);
            break;
        case TOperator::GreaterOrEqual:
            SetBoolean(node, a >= b);
            break;
        case TOperator::Equal:
            SetBoolean(node, a == b);
            break;
        default:
            SetBoolean(node, a != b);  // "<>"
    }
    return node.Value;
}

const std::string& EvalCall(TNonTerminal& node) {
    ForEachParameter(node, [](TNonTerminal& parameter) { parameter.GetValue(); });
    const TParameters parameters = CollectParameters(node);
    const std::string_view name = node.Child(0)->Text;
    node.ValueType = FunctionType(name, parameters, node);
    if (node.ValueType == vtNone) {
        node.Value.clear();
    } else if (node.Deal == nullptr) {
        node.Value = "0";  // the type check: only the type matters
    } else {
        bool isBoolean = false;
        const int32_t result =
            CallHandFunction(*node.Deal, FunctionOf(name), parameters, isBoolean);
        if (isBoolean)
            SetBoolean(node, result != 0);
        else
            SetInteger(node, result);
    }
    return node.Value;
}

const std::string& EvalOmitted(TNonTerminal& node) {
    node.ValueType = vtInteger;
    node.Value = "-1";
    return node.Value;
}

const std::string& EvalParameter(TNonTerminal& node) {
    TLexem& expression = *node.Child(0);
    node.Value = expression.GetValue();
    node.ValueType = expression.ValueType;
    return node.Value;
}

const std::string& EvalNot(TNonTerminal& node) {
    TLexem& operand = *node.Child(1);
    const std::string& value = operand.GetValue();
    if (operand.ValueType == vtBoolean) {
        node.ValueType = vtBoolean;
        SetBoolean(node, !TextToBool(value, true));
    } else {
        node.ValueType = vtNone;  // the enclosing operator, call or final check reports
        node.Value.clear();
    }
    return node.Value;
}

const std::string& EvalBrackets(TNonTerminal& node) {
    TLexem& inner = *node.ChildNode(1)->Child(0);  // the expression, or ")" for empty brackets
    node.Value = inner.GetValue();
    node.ValueType = inner.ValueType;
    return node.Value;
}
