#include "language/CompiledEvaluator.h"

#include <string_view>

#include "deals/Deal.h"
#include "language/Evaluation.h"
#include "language/ParseTree.h"
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

struct TFunctionEntry {
    std::string_view Name;
    TOpCode Op;
    int32_t IntegerCount;  // integers after the seat for the Boolean functions
};

// The hand functions and what a call of each compiles to.
constexpr TFunctionEntry Functions[] = {
    {"HCP", TOpCode::Hcp, 0},
    {"SUITLENGTH", TOpCode::SuitLength, 0},
    {"SUITBYLENGTH", TOpCode::SuitByLength, 1},
    {"BALANCED", TOpCode::Balanced, 2},
    {"POLISH1C", TOpCode::Polish1c, 4},
    {"UNBAL1D", TOpCode::Unbal1d, 2},
    {"PREC1D", TOpCode::Prec1d, 4},
    {"PREC1H", TOpCode::Prec1h, 2},
    {"PREC1S", TOpCode::Prec1s, 2},
    {"PREC2C", TOpCode::Prec2c, 2},
    {"MULTY", TOpCode::Multy, 6},
    {"RANGE", TOpCode::Range, 2},
    {"SUITS", TOpCode::Suits, 5},
    {"SHAPE", TOpCode::Shape, 5},
};

const TFunctionEntry* FunctionEntry(std::string_view name) {
    for (const TFunctionEntry& entry : Functions)
        if (entry.Name == name) return &entry;
    return nullptr;
}

// The opcode of an integer operator (arithmetic or comparison); false for
// AND, OR and anything else.
bool IntegerOperator(std::string_view op, TOpCode& code) {
    static constexpr std::pair<std::string_view, TOpCode> Operators[] = {
        {"+", TOpCode::Add},          {"-", TOpCode::Subtract},  {"<", TOpCode::Less},
        {"<=", TOpCode::LessOrEqual}, {">", TOpCode::Greater},   {">=", TOpCode::GreaterOrEqual},
        {"=", TOpCode::Equal},        {"<>", TOpCode::NotEqual},
    };
    for (const auto& [word, opcode] : Operators) {
        if (word == op) {
            code = opcode;
            return true;
        }
    }
    return false;
}

// Integer operators: sums and differences wrap around in 32 bits,
// comparisons give 0 or 1.
int32_t Apply(TOpCode op, int32_t a, int32_t b) {
    switch (op) {
        case TOpCode::Add:
            return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
        case TOpCode::Subtract:
            return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
        case TOpCode::Less:
            return a < b;
        case TOpCode::LessOrEqual:
            return a <= b;
        case TOpCode::Greater:
            return a > b;
        case TOpCode::GreaterOrEqual:
            return a >= b;
        case TOpCode::Equal:
            return a == b;
        default:
            return a != b;
    }
}

const TNonTerminal* AsNode(const TLexem& item) {
    return item.Kind >= nkExpression ? static_cast<const TNonTerminal*>(&item) : nullptr;
}

bool HasAction(const TNonTerminal& node, TEvalAction action) {
    return node.Rule != nullptr && node.Rule->Eval == action;
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
        const TNonTerminal* rest = node.ChildNode(1);
        if (node.Child(0) == nullptr || rest == nullptr || rest->Child(0) == nullptr) return false;
        TOperand left;
        if (!Operand(*node.Child(0), depth, left)) return false;
        const TLexem& follower = *rest->Child(0);
        if (follower.Kind != lkOperator) {  // ")", "," or the end: the operand alone
            out = left;
            return left.Type == node.ValueType;
        }
        const TNonTerminal* right = rest->ChildNode(1);
        if (right == nullptr) return false;
        if (follower.Text == "AND" || follower.Text == "OR")
            return Logical(follower.Text == "AND", node, left, *right, depth, out);

        TOpCode op;
        if (!IntegerOperator(follower.Text, op) || left.Type != vtInteger) return false;
        TOperand rightValue;
        if (!Expression(*right, depth + 1, rightValue) || rightValue.Type != vtInteger)
            return false;
        const bool arithmetic = op == TOpCode::Add || op == TOpCode::Subtract;
        out = TOperand{};
        out.Type = arithmetic ? vtInteger : vtBoolean;
        if (out.Type != node.ValueType) return false;
        if (left.Constant && rightValue.Constant) {
            out.Constant = true;
            out.Value = Apply(op, left.Value, rightValue.Value);
            return true;
        }
        TInstruction instruction;
        instruction.Op = op;
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

    // AND and OR: the right operand is skipped when the left one decides.
    bool Logical(bool isAnd, const TNonTerminal& node, const TOperand& left,
                 const TNonTerminal& right, int32_t depth, TOperand& out) {
        if (left.Type != vtBoolean || node.ValueType != vtBoolean) return false;
        const int32_t deciding = isAnd ? 0 : 1;
        if (left.Constant && left.Value == deciding) {
            out = ConstantOf(vtBoolean, deciding);
            return true;
        }
        if (left.Constant) {  // the right operand alone decides
            return Expression(right, depth + 1, out) && out.Type == vtBoolean;
        }
        TInstruction skip;
        skip.Op = isAnd ? TOpCode::SkipIfFalse : TOpCode::SkipIfTrue;
        skip.Args[0] = left.Slot;
        const int32_t result = Emit(skip);
        const std::size_t skipIndex = program_.size() - 1;
        TOperand rightValue;
        if (!Expression(right, depth + 1, rightValue) || rightValue.Type != vtBoolean) return false;
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
        const TNonTerminal* operand = node.ChildNode(1);
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
        const TNonTerminal* tail = node.ChildNode(1);
        // Empty brackets have no value; a checked tree holds them only where
        // nothing reads them (a parameter beyond a signature).
        const TNonTerminal* inner = tail != nullptr ? tail->ChildNode(0) : nullptr;
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
        const TNonTerminal* expression = parameter->ChildNode(0);
        if (!HasAction(*parameter, EvalParameter) || expression == nullptr) return false;
        return Expression(*expression, depth + 1, out) && out.Type == parameter->ValueType;
    }

    bool Call(const TNonTerminal& node, int32_t depth, TOperand& out) {
        if (!HasAction(node, EvalCall) || node.Child(0) == nullptr) return false;
        const TFunctionEntry* function = FunctionEntry(node.Child(0)->Text);
        const TParameters parameters = CollectParameters(node);
        if (function == nullptr || parameters.Count == 0) return false;
        TOperand seat;
        if (!Parameter(parameters[0], depth, seat) || seat.Type != vtPosition || !seat.Constant)
            return false;
        TInstruction instruction;
        instruction.Op = function->Op;
        instruction.Seat = seat.Value;
        TOperand argument;
        switch (function->Op) {
            case TOpCode::Hcp:
            case TOpCode::SuitLength:
                // HCP reads its suit only when a second parameter is written.
                if (parameters.Count < 2) {
                    if (function->Op == TOpCode::SuitLength) return false;
                    instruction.Suit = -1;
                    break;
                }
                if (!Parameter(parameters[1], depth, argument) || argument.Type != vtSuit ||
                    !argument.Constant)
                    return false;
                instruction.Suit = argument.Value;
                break;
            default:
                // Integers left out arrive as -1; those beyond the signature
                // are evaluated by the tree but never read: they are left out.
                for (int32_t k = 1; k <= function->IntegerCount; ++k) {
                    if (function->Op == TOpCode::SuitByLength && parameters[k] == nullptr)
                        return false;
                    if (!Parameter(parameters[k], depth, argument) || argument.Type != vtInteger)
                        return false;
                    instruction.Args[static_cast<std::size_t>(k - 1)] = SlotOf(argument);
                }
        }
        const bool integerResult = function->Op == TOpCode::Hcp ||
                                   function->Op == TOpCode::SuitLength ||
                                   function->Op == TOpCode::SuitByLength;
        const TValueType type = integerResult ? vtInteger : vtBoolean;
        if (type != node.ValueType) return false;
        out = ComputedOf(type, Emit(instruction));
        return true;
    }

    std::vector<TInstruction>& program_;
    std::vector<int32_t>& slots_;
};

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

void TCompiledEvaluator::Clear() {
    program_.clear();
    slots_.clear();
    resultSlot_ = 0;
    compiled_ = false;
}

bool TCompiledEvaluator::Matches(TDeal& deal) {
    int32_t* const slot = slots_.data() + SlotPadding;
    const TInstruction* const program = program_.data();
    const std::size_t count = program_.size();
    for (std::size_t pc = 0; pc < count; ++pc) {
        const TInstruction& in = program[pc];
        const auto a = [slot, &in](std::size_t k) { return slot[in.Args[k]]; };
        int32_t& result = slot[in.Result];
        switch (in.Op) {
            case TOpCode::Add:
            case TOpCode::Subtract:
            case TOpCode::Less:
            case TOpCode::LessOrEqual:
            case TOpCode::Greater:
            case TOpCode::GreaterOrEqual:
            case TOpCode::Equal:
            case TOpCode::NotEqual:
                result = Apply(in.Op, a(0), a(1));
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
                result = deal.HCP(in.Seat, in.Suit);
                break;
            case TOpCode::SuitLength:
                result = deal.SuitLength(in.Seat, in.Suit);
                break;
            case TOpCode::SuitByLength:
                result = deal.SuitByLength(in.Seat, a(0));
                break;
            case TOpCode::Range:
                result = deal.Range(in.Seat, a(0), a(1));
                break;
            case TOpCode::Balanced:
                result = deal.Balanced(in.Seat, a(0), a(1));
                break;
            case TOpCode::Polish1c:
                result = deal.Polish1c(in.Seat, a(0), a(1), a(2), a(3));
                break;
            case TOpCode::Prec1d:
                result = deal.Prec1d(in.Seat, a(0), a(1), a(2), a(3));
                break;
            case TOpCode::Unbal1d:
                result = deal.Unbal1d(in.Seat, a(0), a(1));
                break;
            case TOpCode::Prec1h:
                result = deal.Prec1h(in.Seat, a(0), a(1));
                break;
            case TOpCode::Prec1s:
                result = deal.Prec1s(in.Seat, a(0), a(1));
                break;
            case TOpCode::Prec2c:
                result = deal.Prec2c(in.Seat, a(0), a(1));
                break;
            case TOpCode::Multy:
                result = deal.Multy(in.Seat, a(0), a(1), a(2), a(3), a(4), a(5));
                break;
            case TOpCode::Suits:
                result = deal.Suits(in.Seat, a(0), a(1), a(2), a(3), a(4));
                break;
            case TOpCode::Shape:
                result = deal.Shape(in.Seat, a(0), a(1), a(2), a(3), a(4));
                break;
        }
    }
    return slot[resultSlot_] != 0;
}
