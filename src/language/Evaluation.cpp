#include "language/internal/Evaluation.h"

#include <array>
#include <charconv>

#include "deals/Deal.h"
#include "language/ErrorReport.h"
#include "language/FunctionTable.h"
#include "language/internal/TreeShape.h"

namespace {

void SetInteger(TNonTerminal& node, int32_t value) {
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    node.Value.assign(digits, result.ptr);
}

void SetBoolean(TNonTerminal& node, bool value) { node.Value.assign(1, value ? '1' : '0'); }

// The arguments after the seat as the hand function takes them: suit codes or
// integers, -1 for those not written.
std::array<int32_t, MaxFunctionArguments> ArgumentsOf(const TFunctionRow& function,
                                                      const TParameters& p) {
    std::array<int32_t, MaxFunctionArguments> arguments;
    arguments.fill(-1);
    for (int32_t k = 1; k <= function.ArgumentCount(); ++k) {
        if (const TNonTerminal* parameter = p[k])
            arguments[static_cast<std::size_t>(k - 1)] = function.ArgumentType(k) == vtSuit
                                                             ? SuitCode(parameter->Value)
                                                             : TextToInt(parameter->Value, 0);
    }
    return arguments;
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
    const TOperatorRow* row = FindOperator(op);
    if (row == nullptr) {
        ReportError(ecUnknown, op, 0);
        return vtNone;
    }
    if (!CheckType(&left, row->OperandType) || !CheckType(&right, row->OperandType)) return vtNone;
    return row->Result;
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
    const TFunctionRow* function = FindFunction(name);
    if (function == nullptr) return vtNone;
    for (int32_t k = 1; k <= function->ArgumentCount(); ++k) {
        const TNonTerminal* parameter = p[k];
        const TValueType type = function->ArgumentType(k);
        switch (function->Missing) {
            case TMissingArgument::Default:
                if (!CheckType(parameter, type)) return vtNone;
                break;
            case TMissingArgument::Reported:
                if (parameter == nullptr) {
                    ReportError(ecMissingParameter, TypeName(type), EndOf(*p[k - 1]));
                    return vtNone;
                }
                if (!CheckType(parameter, type)) return vtNone;
                break;
            case TMissingArgument::Silent:
                if (parameter == nullptr || parameter->ValueType != type) return vtNone;
                break;
        }
    }
    return function->Result;
}

const std::string& EvalExpression(TNonTerminal& node) {
    TLexem& left = *OperandOf(node);
    left.GetValue();
    const TLexem& follower = *FollowerOf(node);
    if (follower.Kind != lkOperator) {  // ")", "," or the end: no operator
        node.ValueType = left.ValueType;
        node.Value = left.GetValue();
        return node.Value;
    }
    TNonTerminal& right = *RightOperandOf(node);
    right.GetValue();
    node.ValueType = OperatorType(follower.Text, left, right);
    if (node.ValueType == vtNone) {
        node.Value.clear();
        return node.Value;
    }
    const TOperatorRow& op = *FindOperator(follower.Text);
    const auto operand = [&op](const std::string& value) {
        return op.OperandType == vtBoolean ? (TextToBool(value, true) ? 1 : 0)
                                           : TextToInt(value, 0);
    };
    const int32_t result =
        ApplyOperator(op.Code, operand(left.GetValue()), operand(right.GetValue()));
    if (op.Result == vtBoolean)
        SetBoolean(node, result != 0);
    else
        SetInteger(node, result);
    return node.Value;
}

const std::string& EvalCall(TNonTerminal& node) {
    ForEachParameter(node, [](TNonTerminal& parameter) { parameter.GetValue(); });
    const TParameters parameters = CollectParameters(node);
    const std::string_view name = FunctionWordOf(node)->Text;
    node.ValueType = FunctionType(name, parameters, node);
    if (node.ValueType == vtNone) {
        node.Value.clear();
    } else if (node.Deal == nullptr) {
        node.Value = "0";  // the type check: only the type matters
    } else {
        const TFunctionRow& function = *FindFunction(name);
        const auto arguments = ArgumentsOf(function, parameters);
        const int32_t result =
            function.Call(*node.Deal, SeatCode(parameters[0]->Value), arguments.data());
        if (function.Result == vtBoolean)
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
    TLexem& expression = *ParameterValueOf(node);
    node.Value = expression.GetValue();
    node.ValueType = expression.ValueType;
    return node.Value;
}

const std::string& EvalNot(TNonTerminal& node) {
    TLexem& operand = *NegatedOf(node);
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
    TLexem& inner = *BracketedOf(node);  // the expression, or ")" for empty brackets
    node.Value = inner.GetValue();
    node.ValueType = inner.ValueType;
    return node.Value;
}
