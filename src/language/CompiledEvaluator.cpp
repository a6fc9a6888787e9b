#include "language/CompiledEvaluator.h"

#include <limits>
#include <string_view>
#include <vector>

#include "deals/Deal.h"
#include "language/ParseTree.h"
#include "language/internal/Evaluation.h"
#include "language/internal/TreeShape.h"
#include "text/StringFunctions.h"

using TOpCode = TCompiledEvaluator::TOpCode;
using TInstruction = TCompiledEvaluator::TInstruction;

// A compiled value: a constant known at compile time, or the slot that holds it.
struct TCompiledEvaluator::TOperand {
    TValueType Type = vtNone;
    bool Constant = false;
    int32_t Value = 0;  // a constant: the integer, 0 or 1, or the seat or suit code
    int32_t Slot = -1;
};

namespace {

const TNonTerminal* AsNode(const TLexem& item) {
    return item.Kind >= nkExpression ? static_cast<const TNonTerminal*>(&item) : nullptr;
}

bool HasAction(const TNonTerminal& node, TEvalAction action) {
    return node.Rule != nullptr && node.Rule->Eval == action;
}

// The comparison with its operands swapped: k < v is v > k.
TOperatorCode Mirrored(TOperatorCode code) {
    switch (code) {
        case TOperatorCode::Less:
            return TOperatorCode::Greater;
        case TOperatorCode::LessOrEqual:
            return TOperatorCode::GreaterOrEqual;
        case TOperatorCode::Greater:
            return TOperatorCode::Less;
        case TOperatorCode::GreaterOrEqual:
            return TOperatorCode::LessOrEqual;
        default:
            return code;
    }
}

// `value OP bound` from questions "value >= k": one question, two for = and <>.
template <class TAtLeast>
bool AnswerComparison(TOperatorCode code, int32_t bound, TAtLeast atLeast) {
    // value > bound is value >= bound + 1; no value is above the largest integer.
    const auto above = [&] {
        return bound < std::numeric_limits<int32_t>::max() && atLeast(bound + 1);
    };
    switch (code) {
        case TOperatorCode::GreaterOrEqual:
            return atLeast(bound);
        case TOperatorCode::Greater:
            return above();
        case TOperatorCode::LessOrEqual:
            return !above();
        case TOperatorCode::Less:
            return !atLeast(bound);
        case TOperatorCode::Equal:
            return atLeast(bound) && !above();
        case TOperatorCode::NotEqual:
            return !atLeast(bound) || above();
        default:
            return false;
    }
}

}  // namespace

// Compiles the tree by recursive descent, at most MaxDepth expressions deep.
// Every step checks that the node has the shape and the type the checked
// grammar gives it; anything else refuses the whole compilation.
class TCompiledEvaluator::TCompiler {
public:
    TCompiler(std::vector<TInstruction>& program, std::vector<int32_t>& slots)
        : program_(program), slots_(slots) {}

    bool Expression(const TNonTerminal& node, int32_t depth, TOperand& out) {
        if (depth > MaxDepth || node.Kind != nkExpression || !HasAction(node, EvalExpression))
            return false;
        const TLexem* operand = OperandOf(node);
        const TLexem* follower = FollowerOf(node);
        if (operand == nullptr || follower == nullptr) return false;
        if (follower->Kind == lkOperator) {
            // AND and OR whose left operand costs more than the right: the right
            // one is evaluated first. Operands have no effect besides caches, so
            // the decision stays the same.
            const TOperatorRow* op = FindOperator(follower->Text);
            const TNonTerminal* right = RightOperandOf(node);
            if (op != nullptr && op->OperandType == vtBoolean && right != nullptr &&
                CostOf(*operand) > CostOf(*right)) {
                TOperand first;
                if (!Expression(*right, depth + 1, first)) return false;
                return Logical(op->Code == TOperatorCode::And, node, first, out,
                               [&](TOperand& second) { return Operand(*operand, depth, second); });
            }
        }
        TOperand left;
        if (!Operand(*operand, depth, left)) return false;
        if (follower->Kind != lkOperator) {  // ")", "," or the end: the operand alone
            out = left;
            return left.Type == node.ValueType;
        }
        const TNonTerminal* right = RightOperandOf(node);
        const TOperatorRow* op = FindOperator(follower->Text);
        if (right == nullptr || op == nullptr) return false;
        if (op->OperandType == vtBoolean)
            return Logical(op->Code == TOperatorCode::And, node, left, out,
                           [&](TOperand& second) { return Expression(*right, depth + 1, second); });

        if (left.Type != vtInteger) return false;
        TOperand rightValue;
        if (!Expression(*right, depth + 1, rightValue) || rightValue.Type != vtInteger)
            return false;
        out = TOperand{};
        out.Type = op->Result;
        if (out.Type != node.ValueType) return false;
        if (out.Type == vtBoolean && AsQuestion(op->Code, left, rightValue, out)) return true;
        if (left.Constant && rightValue.Constant) {
            out.Constant = true;
            out.Value = ApplyOperator(op->Code, left.Value, rightValue.Value);
            return true;
        }
        TInstruction instruction;
        instruction.Op = TOpCode::Operator;
        instruction.Operator = op->Code;
        instruction.Args[0] = SlotOf(left);
        instruction.Args[1] = SlotOf(rightValue);
        out.Slot = Emit(instruction);
        return true;
    }

    // The slot of the operand; a constant gets a slot that holds it for good.
    int32_t SlotOf(const TOperand& operand) {
        if (!operand.Constant) return operand.Slot;
        slots_.push_back(operand.Value);
        return static_cast<int32_t>(slots_.size()) - 1;
    }

private:
    // A comparison of a call that can answer questions (double-dummy tricks)
    // with a constant, on either side: the call, the last instruction emitted,
    // becomes the comparison itself, so the value is never computed.
    bool AsQuestion(TOperatorCode code, const TOperand& left, const TOperand& right,
                    TOperand& out) {
        if (left.Constant == right.Constant || program_.empty()) return false;
        const TOperand& call = left.Constant ? right : left;
        const TOperand& bound = left.Constant ? left : right;
        TInstruction& last = program_.back();
        if (last.Op != TOpCode::Call || last.AtLeast == nullptr || last.Result != call.Slot)
            return false;
        last.Op = TOpCode::Compare;
        last.Operator = left.Constant ? Mirrored(code) : code;
        last.Bound = bound.Value;
        out = ComputedOf(vtBoolean, last.Result);
        return true;
    }

    static TOperand ConstantOf(TValueType type, int32_t value) {
        TOperand operand;
        operand.Type = type;
        operand.Constant = true;
        operand.Value = value;
        return operand;
    }

    static TOperand ComputedOf(TValueType type, int32_t slot) {
        TOperand operand;
        operand.Type = type;
        operand.Slot = slot;
        return operand;
    }

    // Appends the instruction with a new result slot; the slot.
    int32_t Emit(TInstruction instruction) {
        slots_.push_back(0);
        instruction.Result = static_cast<int32_t>(slots_.size()) - 1;
        program_.push_back(instruction);
        return instruction.Result;
    }

    // The first child of an Expression: a value or a call, NOT or brackets.
    bool Operand(const TLexem& item, int32_t depth, TOperand& out) {
        const TNonTerminal* node = AsNode(item);
        if (node == nullptr) {
            if (item.Kind != lkValue) return false;
            switch (item.ValueType) {
                case vtInteger:
                    out = ConstantOf(vtInteger, TextToInt(item.Value, 0));
                    return true;
                case vtBoolean:
                    out = ConstantOf(vtBoolean, TextToBool(item.Value, true) ? 1 : 0);
                    return true;
                case vtPosition:
                    out = ConstantOf(vtPosition, SeatCode(item.Value));
                    return true;
                case vtSuit:
                    out = ConstantOf(vtSuit, SuitCode(item.Value));
                    return true;
                default:
                    return false;
            }
        }
        switch (node->Kind) {
            case nkFCall:
                return Call(*node, depth, out);
            case nkNotExpression:
                return Not(*node, depth, out);
            case nkExprInBrackets:
                return Brackets(*node, depth, out);
            default:
                return false;
        }
    }

    // AND and OR: the second operand (compiled by `second`) is skipped when the
    // first one decides.
    template <typename TSecond>
    bool Logical(bool isAnd, const TNonTerminal& node, const TOperand& left, TOperand& out,
                 TSecond second) {
        if (left.Type != vtBoolean || node.ValueType != vtBoolean) return false;
        const int32_t deciding = isAnd ? 0 : 1;
        if (left.Constant && left.Value == deciding) {
            out = ConstantOf(vtBoolean, deciding);
            return true;
        }
        if (left.Constant) {  // the second operand alone decides
            return second(out) && out.Type == vtBoolean;
        }
        TInstruction skip;
        skip.Op = isAnd ? TOpCode::SkipIfFalse : TOpCode::SkipIfTrue;
        skip.Args[0] = left.Slot;
        const int32_t result = Emit(skip);
        const std::size_t skipIndex = program_.size() - 1;
        TOperand rightValue;
        if (!second(rightValue) || rightValue.Type != vtBoolean) return false;
        TInstruction copy;
        copy.Op = TOpCode::Copy;
        copy.Args[0] = SlotOf(rightValue);
        copy.Result = result;
        program_.push_back(copy);
        program_[skipIndex].Args[1] = static_cast<int32_t>(program_.size() - skipIndex - 1);
        out = ComputedOf(vtBoolean, result);
        return true;
    }

    bool Not(const TNonTerminal& node, int32_t depth, TOperand& out) {
        const TNonTerminal* operand = NegatedOf(node);
        if (!HasAction(node, EvalNot) || operand == nullptr || node.ValueType != vtBoolean)
            return false;
        TOperand value;
        if (!Expression(*operand, depth + 1, value) || value.Type != vtBoolean) return false;
        if (value.Constant) {
            out = ConstantOf(vtBoolean, value.Value == 0 ? 1 : 0);
            return true;
        }
        TInstruction instruction;
        instruction.Op = TOpCode::Not;
        instruction.Args[0] = value.Slot;
        out = ComputedOf(vtBoolean, Emit(instruction));
        return true;
    }

    bool Brackets(const TNonTerminal& node, int32_t depth, TOperand& out) {
        // Empty brackets have no value; a checked tree holds them only where
        // nothing reads them (a parameter beyond a signature).
        const TNonTerminal* inner = BracketedExpressionOf(node);
        if (!HasAction(node, EvalBrackets) || inner == nullptr) return false;
        return Expression(*inner, depth + 1, out) && out.Type == node.ValueType;
    }

    // A parameter of a call: written empty gives the integer -1.
    bool Parameter(const TNonTerminal* parameter, int32_t depth, TOperand& out) {
        if (parameter == nullptr) {  // not written at all
            out = ConstantOf(vtInteger, -1);
            return true;
        }
        if (HasAction(*parameter, EvalOmitted)) {
            out = ConstantOf(vtInteger, -1);
            return parameter->ValueType == vtInteger;
        }
        const TNonTerminal* expression = ParameterExpressionOf(*parameter);
        if (!HasAction(*parameter, EvalParameter) || expression == nullptr) return false;
        return Expression(*expression, depth + 1, out) && out.Type == parameter->ValueType;
    }

    // Seats and suits are only ever literals, so they are constants here.
    bool Call(const TNonTerminal& node, int32_t depth, TOperand& out) {
        const TLexem* word = FunctionWordOf(node);
        if (!HasAction(node, EvalCall) || word == nullptr) return false;
        const TFunctionRow* function = FindFunction(word->Text);
        const TParameters parameters = CollectParameters(node);
        if (function == nullptr || parameters.Count == 0 || function->Result != node.ValueType)
            return false;
        TOperand seat;
        if (!Parameter(parameters[0], depth, seat) || seat.Type != vtPosition || !seat.Constant)
            return false;
        TInstruction instruction;
        instruction.Seat = seat.Value;
        instruction.Function = function->Call;
        instruction.OnCardSets = function->CallOnCardSets;
        instruction.AtLeast = function->AtLeast;
        // Arguments left out arrive as -1; parameters beyond the signature are
        // evaluated by the tree but never read: they are left out.
        for (int32_t k = 1; k <= function->ArgumentCount(); ++k) {
            const TNonTerminal* parameter = parameters[k];
            if (parameter == nullptr && function->Missing != TMissingArgument::Default)
                return false;
            TOperand argument;
            if (function->ArgumentType(k) == vtSuit) {
                if (parameter == nullptr) {
                    argument = ConstantOf(vtSuit, -1);
                } else if (!Parameter(parameter, depth, argument) || argument.Type != vtSuit ||
                           !argument.Constant) {
                    return false;
                }
                if (k == 1) instruction.Suit = argument.Value;
            } else if (!Parameter(parameter, depth, argument) || argument.Type != vtInteger) {
                return false;
            }
            instruction.Args[static_cast<std::size_t>(k - 1)] = SlotOf(argument);
        }
        switch (function->Code) {
            case TCallCode::Hcp:
                instruction.Op = TOpCode::Hcp;
                break;
            case TCallCode::SuitLength:
                instruction.Op = TOpCode::SuitLength;
                break;
            case TCallCode::Generic:
                instruction.Op = TOpCode::Call;
                break;
        }
        out = ComputedOf(function->Result, Emit(instruction));
        return true;
    }

    std::vector<TInstruction>& program_;
    std::vector<int32_t>& slots_;
};

// Walked without recursion: a tree may be nested deeper than the compiler goes.
int32_t TCompiledEvaluator::CostOf(const TLexem& part) {
    int32_t cost = 0;
    std::vector<const TLexem*> pending{&part};
    while (!pending.empty()) {
        const TNonTerminal* node = AsNode(*pending.back());
        pending.pop_back();
        if (node == nullptr) continue;
        if (node->Kind == nkFCall) {
            const TLexem* word = FunctionWordOf(*node);
            const TFunctionRow* row = word != nullptr ? FindFunction(word->Text) : nullptr;
            if (row != nullptr) cost += row->Cost;
        }
        for (int32_t k = 0; k < TNonTerminal::MaxChildren; ++k)
            if (const TLexem* child = node->Child(k)) pending.push_back(child);
    }
    return cost;
}

bool TCompiledEvaluator::Compile(const TNonTerminal& root) {
    Clear();
    TCompiler compiler(program_, slots_);
    TOperand result;
    if (root.ValueType != vtBoolean || !compiler.Expression(root, 0, result) ||
        result.Type != vtBoolean) {
        Clear();
        return false;
    }
    resultSlot_ = compiler.SlotOf(result);
    program_.shrink_to_fit();
    // Each thread's evaluator writes its slots for every deal: a cache line's
    // worth of padding on either side keeps them off any other allocation's
    // lines, which another thread's writes would otherwise bounce between cores.
    slots_.insert(slots_.begin(), SlotPadding, 0);
    slots_.resize(slots_.size() + SlotPadding, 0);
    compiled_ = true;
    return true;
}

int32_t TCompiledEvaluator::QuestionCount() const {
    int32_t count = 0;
    for (const TInstruction& instruction : program_) count += instruction.Op == TOpCode::Compare;
    return count;
}

void TCompiledEvaluator::Clear() {
    program_.clear();
    slots_.clear();
    resultSlot_ = 0;
    compiled_ = false;
}

// The calls' values from a deal of card places.
class TCompiledEvaluator::TOnDeal {
public:
    explicit TOnDeal(TDeal& deal) : deal_(deal) {}
    int32_t Hcp(const TInstruction& in) { return deal_.HCP(in.Seat, in.Suit); }
    int32_t SuitLength(const TInstruction& in) { return deal_.SuitLength(in.Seat, in.Suit); }
    int32_t Call(const TInstruction& in, const int32_t* arguments) {
        return in.Function(deal_, in.Seat, arguments);
    }
    bool Compare(const TInstruction& in, const int32_t* arguments) {
        return AnswerComparison(in.Operator, in.Bound, [&](int32_t least) {
            return in.AtLeast(deal_, in.Seat, arguments, least);
        });
    }

private:
    TDeal& deal_;
};

// The calls' values from card sets; the deal of card places is made from them
// once, when a call first needs it.
class TCompiledEvaluator::TOnCardSets {
public:
    TOnCardSets(const TCardSets& sets, TDeal& scratch) : sets_(sets), scratch_(scratch) {}
    int32_t Hcp(const TInstruction& in) const { return sets_.HCP(in.Seat, in.Suit); }
    int32_t SuitLength(const TInstruction& in) const { return sets_.SuitLength(in.Seat, in.Suit); }
    int32_t Call(const TInstruction& in, const int32_t* arguments) {
        if (in.OnCardSets != nullptr) return in.OnCardSets(sets_, in.Seat, arguments);
        if (!made_) {
            scratch_.SetCardSets(sets_);
            made_ = true;
        }
        return in.Function(scratch_, in.Seat, arguments);
    }
    bool Compare(const TInstruction& in, const int32_t* arguments) {
        if (!made_) {
            scratch_.SetCardSets(sets_);
            made_ = true;
        }
        return AnswerComparison(in.Operator, in.Bound, [&](int32_t least) {
            return in.AtLeast(scratch_, in.Seat, arguments, least);
        });
    }

private:
    const TCardSets& sets_;
    TDeal& scratch_;
    bool made_ = false;
};

bool TCompiledEvaluator::Matches(TDeal& deal) {
    TOnDeal ask(deal);
    return Run(ask);
}

bool TCompiledEvaluator::Matches(const TCardSets& deal) {
    TOnCardSets ask(deal, fromCardSets_);
    return Run(ask);
}

template <class TAsk>
bool TCompiledEvaluator::Run(TAsk& deal) {
    int32_t* const slot = slots_.data() + SlotPadding;
    const TInstruction* const program = program_.data();
    const std::size_t count = program_.size();
    for (std::size_t pc = 0; pc < count; ++pc) {
        const TInstruction& in = program[pc];
        const auto a = [slot, &in](std::size_t k) { return slot[in.Args[k]]; };
        int32_t& result = slot[in.Result];
        switch (in.Op) {
            case TOpCode::Operator:
                result = ApplyOperator(in.Operator, a(0), a(1));
                break;
            case TOpCode::Not:
                result = a(0) == 0 ? 1 : 0;
                break;
            case TOpCode::Copy:
                result = a(0);
                break;
            case TOpCode::SkipIfFalse:
                if (a(0) == 0) {
                    result = 0;
                    pc += static_cast<std::size_t>(in.Args[1]);
                }
                break;
            case TOpCode::SkipIfTrue:
                if (a(0) != 0) {
                    result = 1;
                    pc += static_cast<std::size_t>(in.Args[1]);
                }
                break;
            case TOpCode::Hcp:
                result = deal.Hcp(in);
                break;
            case TOpCode::SuitLength:
                result = deal.SuitLength(in);
                break;
            case TOpCode::Call:
            case TOpCode::Compare: {
                std::array<int32_t, MaxFunctionArguments> arguments;
                for (std::size_t k = 0; k < arguments.size(); ++k) arguments[k] = a(k);
                result = in.Op == TOpCode::Call ? deal.Call(in, arguments.data())
                                                : deal.Compare(in, arguments.data());
                break;
            }
        }
    }
    return slot[resultSlot_] != 0;
}
