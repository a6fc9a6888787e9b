#include "language/HandBounds.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <type_traits>
#include <utility>

#include "deals/BridgeTerms.h"
#include "language/FunctionTable.h"
#include "language/ParseTree.h"
#include "language/internal/Evaluation.h"
#include "language/internal/TreeShape.h"
#include "text/StringFunctions.h"

namespace {

using TBox = std::array<THandBounds, 4>;

TBox EmptyBox() {
    TBox box;
    for (THandBounds& hand : box) hand.Total = {1, 0};
    return box;
}
bool IsEmpty(const TBox& box) {
    return std::any_of(box.begin(), box.end(), [](const THandBounds& h) { return h.Empty(); });
}
TBox Meet(const TBox& a, const TBox& b) {
    TBox met;
    for (std::size_t s = 0; s < 4; ++s) met[s] = THandBounds::Meet(a[s], b[s]);
    return IsEmpty(met) ? EmptyBox() : met;
}
TBox Hull(const TBox& a, const TBox& b) {
    if (IsEmpty(a)) return b;
    if (IsEmpty(b)) return a;
    TBox hull;
    for (std::size_t s = 0; s < 4; ++s) hull[s] = THandBounds::Hull(a[s], b[s]);
    return hull;
}

// The deals where a Boolean part is true, and where it is false.
struct TTruth {
    TBox True;
    TBox False;
};
TTruth Unknown() { return {}; }
TTruth Constant(bool value) {
    return value ? TTruth{TBox{}, EmptyBox()} : TTruth{EmptyBox(), TBox{}};
}
TTruth And(const TTruth& a, const TTruth& b) {
    return {Meet(a.True, b.True), Hull(a.False, b.False)};
}
TTruth Or(const TTruth& a, const TTruth& b) {
    return {Hull(a.True, b.True), Meet(a.False, b.False)};
}
TTruth Not(const TTruth& a) { return {a.False, a.True}; }

std::array<int32_t, 4> LongestFirst(const TShapes::TLengths& l) {
    std::array<int32_t, 4> sorted = l;
    std::sort(sorted.begin(), sorted.end(), std::greater<>());
    return sorted;
}

// The deals where the seat's pattern is one `pred` accepts, and where it is
// not. The rule is a lambda without captures: its patterns are worked out
// once for each rule, as a large condition calls it thousands of times.
template <class TPred>
TTruth ShapeIs(int32_t seat, TPred pred) {
    static_assert(std::is_empty_v<TPred>, "one set of patterns for each type of rule");
    static const std::pair<TShapes, TShapes> patterns{
        TShapes::Every().Where(pred),
        TShapes::Every().Where([&](const TShapes::TLengths& l) { return !pred(l); })};
    TTruth truth;
    truth.True[static_cast<std::size_t>(seat - 1)].Shapes = patterns.first;
    truth.False[static_cast<std::size_t>(seat - 1)].Shapes = patterns.second;
    if (patterns.first.None()) truth.True = EmptyBox();
    if (patterns.second.None()) truth.False = EmptyBox();
    return truth;
}

// The figures an integer part is a sum of, 13 for each seat: the suits'
// lengths, the suits' points, the hand's points, the n-th longest suit's length.
constexpr int32_t FiguresPerSeat = 13;
constexpr int32_t LengthFigure = 0, PointsFigure = 4, TotalFigure = 8, LongestFigure = 9;
constexpr int64_t Unbounded = int64_t{1} << 40;
// Larger constants or factors are not reasoned about: sums may wrap around.
constexpr int64_t Largest = int64_t{1} << 24;

TBound FigureRange(int32_t figure) {
    const int32_t kind = figure % FiguresPerSeat;
    if (kind >= PointsFigure && kind < TotalFigure) return {0, THandBounds::MostSuitPoints};
    if (kind == TotalFigure) return {0, THandBounds::MostPoints};
    return {0, 13};
}

int64_t FloorDiv(int64_t a, int64_t b) {
    const int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}
int64_t CeilDiv(int64_t a, int64_t b) { return -FloorDiv(-a, b); }

// The bounds of deals whose figure lies in [low, high] (within its range).
TBox BoundFigure(int32_t figure, int64_t low, int64_t high) {
    const TBound range = FigureRange(figure);
    const auto lo = static_cast<int32_t>(std::max<int64_t>(low, range.Low));
    const auto hi = static_cast<int32_t>(std::min<int64_t>(high, range.High));
    if (lo > hi) return EmptyBox();
    TBox box;
    THandBounds& hand = box[static_cast<std::size_t>(figure / FiguresPerSeat)];
    const int32_t kind = figure % FiguresPerSeat;
    if (kind < PointsFigure) {
        hand.Shapes = hand.Shapes.Where([&](const TShapes::TLengths& lengths) {
            return lo <= lengths[static_cast<std::size_t>(kind)] &&
                   lengths[static_cast<std::size_t>(kind)] <= hi;
        });
    } else if (kind < TotalFigure) {
        hand.Points[static_cast<std::size_t>(kind - PointsFigure)] = {lo, hi};
    } else if (kind == TotalFigure) {
        hand.Total = {lo, hi};
    } else {  // the n-th longest suit
        hand.Shapes = hand.Shapes.Where([&](const TShapes::TLengths& l) {
            const auto sorted = LongestFirst(l);
            const int32_t length = sorted[static_cast<std::size_t>(kind - LongestFigure)];
            return lo <= length && length <= hi;
        });
    }
    return IsEmpty(box) ? EmptyBox() : box;
}

// An integer part: a constant plus figures with factors, when it is one.
struct TSum {
    bool Known = false;
    int64_t Constant = 0;
    std::array<int64_t, 4 * FiguresPerSeat> Factor{};

    static TSum Of(int64_t constant) {
        TSum sum;
        sum.Known = std::abs(constant) <= Largest;
        sum.Constant = constant;
        return sum;
    }
    static TSum Figure(int32_t seat, int32_t figure) {
        TSum sum = Of(0);
        sum.Factor[static_cast<std::size_t>((seat - 1) * FiguresPerSeat + figure)] = 1;
        return sum;
    }
    bool IsConstant() const {
        return Known && std::all_of(Factor.begin(), Factor.end(), [](int64_t f) { return f == 0; });
    }
    TSum Plus(const TSum& other, int64_t sign) const {
        TSum sum;
        if (!Known || !other.Known) return sum;
        sum.Known = true;
        sum.Constant = Constant + sign * other.Constant;
        for (std::size_t i = 0; i < Factor.size(); ++i) {
            sum.Factor[i] = Factor[i] + sign * other.Factor[i];
            if (std::abs(sum.Factor[i]) > Largest) sum.Known = false;
        }
        if (std::abs(sum.Constant) > Largest) sum.Known = false;
        return sum;
    }

    // The deals whose sum lies in [low, high]: each figure bounded by what
    // the others can add at most and at least.
    TBox Within(int64_t low, int64_t high) const {
        if (!Known) return TBox{};
        int64_t least = Constant, most = Constant;
        for (std::size_t i = 0; i < Factor.size(); ++i) {
            const TBound range = FigureRange(static_cast<int32_t>(i));
            least += std::min(Factor[i] * range.Low, Factor[i] * range.High);
            most += std::max(Factor[i] * range.Low, Factor[i] * range.High);
        }
        if (most < low || least > high) return EmptyBox();
        TBox box;
        for (std::size_t i = 0; i < Factor.size(); ++i) {
            const int64_t f = Factor[i];
            if (f == 0) continue;
            const TBound range = FigureRange(static_cast<int32_t>(i));
            const int64_t termLeast = std::min(f * range.Low, f * range.High);
            const int64_t termMost = std::max(f * range.Low, f * range.High);
            // f x lies in [lo, hi]:
            const int64_t lo = low <= -Unbounded ? -Unbounded : low - (most - termMost);
            const int64_t hi = high >= Unbounded ? Unbounded : high - (least - termLeast);
            const int64_t xLow = f > 0 ? CeilDiv(lo, f) : CeilDiv(hi, f);
            const int64_t xHigh = f > 0 ? FloorDiv(hi, f) : FloorDiv(lo, f);
            box = Meet(box, BoundFigure(static_cast<int32_t>(i), xLow, xHigh));
        }
        return box;
    }
};

TTruth Compare(TOperatorCode code, const TSum& left, const TSum& right) {
    const TSum d = left.Plus(right, -1);  // left op right is d op 0
    if (!d.Known) return Unknown();
    const auto atLeast = [&](int64_t k) { return d.Within(k, Unbounded); };
    const auto atMost = [&](int64_t k) { return d.Within(-Unbounded, k); };
    const TTruth equal{d.Within(0, 0), Hull(atMost(-1), atLeast(1))};
    switch (code) {
        case TOperatorCode::Equal:
            return equal;
        case TOperatorCode::NotEqual:
            return Not(equal);
        case TOperatorCode::GreaterOrEqual:
            return {atLeast(0), atMost(-1)};
        case TOperatorCode::Greater:
            return {atLeast(1), atMost(0)};
        case TOperatorCode::LessOrEqual:
            return {atMost(0), atLeast(1)};
        case TOperatorCode::Less:
            return {atMost(-1), atLeast(0)};
        default:
            return Unknown();
    }
}

// One figure of a seat within [low, high]; an argument of -1 as an end drops it.
TTruth FigureIn(int32_t seat, int32_t figure, int64_t low, int64_t high) {
    const TSum sum = TSum::Figure(seat, figure);
    return {sum.Within(low, high),
            Hull(sum.Within(-Unbounded, low - 1), sum.Within(high + 1, Unbounded))};
}
TTruth PointsIn(int32_t seat, int64_t low, int64_t high) {
    return FigureIn(seat, TotalFigure, low, high);
}
// mode < 0: at most, 0: exactly, > 0: at least; a negative length imposes nothing.
TTruth LengthRule(int32_t seat, int32_t figure, int32_t mode, int64_t wanted) {
    if (wanted < 0) return Constant(true);
    if (mode < 0) return FigureIn(seat, figure, -Unbounded, wanted);
    return FigureIn(seat, figure, wanted, mode > 0 ? Unbounded : wanted);
}

int64_t OrDefault(int64_t argument, int64_t defaultValue) {
    return argument == -1 ? defaultValue : argument;
}

// Lengths by suit index, clubs first.
constexpr std::size_t C = 0, D = 1, H = 2, S = 3;

bool BalancedShape(const TShapes::TLengths& l) {
    const auto sorted = LongestFirst(l);
    return l[S] >= 2 && l[S] <= 4 && l[H] >= 2 && l[H] <= 4 && l[D] >= 2 && l[D] <= 5 &&
           l[C] >= 2 && l[C] <= 5 && sorted[0] + sorted[1] <= 8;
}

// A Boolean hand function by its rules; the arguments after the seat, -1 where
// not written. A rule's patterns are exact, its points ranges; parts on the
// points of single suits are unknown.
TTruth HandFunction(std::string_view name, int32_t seat, const std::array<int64_t, 6>& a) {
    const TTruth balanced =
        ShapeIs(seat, [](const TShapes::TLengths& l) { return BalancedShape(l); });
    const auto points = [&](int64_t low, int64_t lowDefault, int64_t high, int64_t highDefault) {
        return PointsIn(seat, OrDefault(low, lowDefault), OrDefault(high, highDefault));
    };
    if (name == "Range") return PointsIn(seat, a[0], a[1]);
    if (name == "Balanced") return And(points(a[0], -Unbounded, a[1], Unbounded), balanced);
    if (name == "Polish1c") {
        const TTruth strong = Or(points(a[3], 18, -1, Unbounded), points(a[0], 12, a[1], 14));
        return Or(And(balanced, strong), And(Not(balanced), points(a[2], 16, -1, Unbounded)));
    }
    const TTruth diamonds = ShapeIs(
        seat, [](const TShapes::TLengths& l) { return l[D] >= 4 && l[H] <= 4 && l[S] <= 4; });
    if (name == "Prec1d")
        return Or(And(balanced, points(a[0], 11, a[1], 14)),
                  And(Not(balanced), And(points(a[2], 11, a[3], 15), diamonds)));
    if (name == "Unbal1d") return And(points(a[0], 11, a[1], 15), And(Not(balanced), diamonds));
    if (name == "Prec1h")
        return And(points(a[0], 11, a[1], 15), ShapeIs(seat, [](const TShapes::TLengths& l) {
                       return l[H] >= 5 && l[H] >= l[S] + 2;
                   }));
    if (name == "Prec1s")
        return And(points(a[0], 11, a[1], 15), ShapeIs(seat, [](const TShapes::TLengths& l) {
                       return l[S] >= 5 && l[H] <= l[S] + 1;
                   }));
    if (name == "Prec2c")
        return And(points(a[0], 11, a[1], 15), ShapeIs(seat, [](const TShapes::TLengths& l) {
                       const bool five = l[C] == 5 && l[D] <= 3 && l[H] <= 4 && l[S] <= 4 &&
                                         (l[H] == 4 || l[S] == 4);
                       return five || (l[C] >= 6 && l[D] <= 4 && l[H] <= 4 && l[S] <= 4);
                   }));
    if (name == "Multy") {
        const TTruth shape = ShapeIs(seat, [](const TShapes::TLengths& l) {
            const bool major = (l[S] >= 6 && l[S] <= 7) || (l[H] >= 6 && l[H] <= 7);
            return major && LongestFirst(l)[1] <= 5;
        });
        return And(And(shape, points(a[0], 6, a[1], 10)), Unknown());
    }
    if (name == "Suits") {
        TTruth all = Constant(true);
        const int32_t suits[] = {Spades, Hearts, Diamonds, Clubs};
        for (std::size_t k = 0; k < 4; ++k)
            all = And(all, LengthRule(seat, LengthFigure + suits[k] - 1, static_cast<int32_t>(a[0]),
                                      a[k + 1]));
        return all;
    }
    if (name == "Shape") {
        TTruth all = Constant(true);
        for (int32_t n = 1; n <= 4; ++n)
            all = And(all, LengthRule(seat, LongestFigure + n - 1, static_cast<int32_t>(a[0]),
                                      a[static_cast<std::size_t>(n)]));
        return all;
    }
    return Unknown();
}

const TNonTerminal* AsNode(const TLexem& item) {
    return item.Kind >= nkExpression ? static_cast<const TNonTerminal*>(&item) : nullptr;
}
bool HasAction(const TNonTerminal& node, TEvalAction action) {
    return node.Rule != nullptr && node.Rule->Eval == action;
}

// A part's abstract value: a sum, bounds of truth, or a seat or suit code.
struct TPart {
    TValueType Type = vtNone;
    TSum Sum;
    TTruth Truth;
    int32_t Code = 0;
};

// Walks the checked tree as the compiler does, at most MaxDepth expressions deep.
class TReasoner {
public:
    static constexpr int32_t MaxDepth = 200;

    std::optional<TPart> Expression(const TNonTerminal& node, int32_t depth) {
        if (depth > MaxDepth || node.Kind != nkExpression || !HasAction(node, EvalExpression))
            return std::nullopt;
        const TLexem* operand = OperandOf(node);
        const TLexem* follower = FollowerOf(node);
        if (operand == nullptr || follower == nullptr) return std::nullopt;
        std::optional<TPart> left = Operand(*operand, depth);
        if (!left || follower->Kind != lkOperator) return left;
        const TNonTerminal* rightNode = RightOperandOf(node);
        const TOperatorRow* op = FindOperator(follower->Text);
        if (rightNode == nullptr || op == nullptr) return std::nullopt;
        std::optional<TPart> right = Expression(*rightNode, depth + 1);
        if (!right || left->Type != op->OperandType || right->Type != op->OperandType)
            return std::nullopt;
        TPart out;
        out.Type = op->Result;
        switch (op->Code) {
            case TOperatorCode::And:
                out.Truth = And(left->Truth, right->Truth);
                break;
            case TOperatorCode::Or:
                out.Truth = Or(left->Truth, right->Truth);
                break;
            case TOperatorCode::Plus:
            case TOperatorCode::Minus:
                out.Sum = left->Sum.Plus(right->Sum, op->Code == TOperatorCode::Plus ? 1 : -1);
                break;
            default:
                out.Truth = Compare(op->Code, left->Sum, right->Sum);
                break;
        }
        return out;
    }

private:
    std::optional<TPart> Operand(const TLexem& item, int32_t depth) {
        const TNonTerminal* node = AsNode(item);
        TPart out;
        if (node == nullptr) {
            if (item.Kind != lkValue) return std::nullopt;
            out.Type = item.ValueType;
            switch (item.ValueType) {
                case vtInteger:
                    out.Sum = TSum::Of(TextToInt(item.Value, 0));
                    return out;
                case vtBoolean:
                    out.Truth = Constant(TextToBool(item.Value, true));
                    return out;
                case vtPosition:
                    out.Code = SeatCode(item.Value);
                    return out;
                case vtSuit:
                    out.Code = SuitCode(item.Value);
                    return out;
                default:
                    return std::nullopt;
            }
        }
        if (node->Kind == nkNotExpression) {
            const TNonTerminal* negated = NegatedOf(*node);
            if (!HasAction(*node, EvalNot) || negated == nullptr) return std::nullopt;
            std::optional<TPart> value = Expression(*negated, depth + 1);
            if (!value || value->Type != vtBoolean) return std::nullopt;
            value->Truth = Not(value->Truth);
            return value;
        }
        if (node->Kind == nkExprInBrackets) {
            const TNonTerminal* inner = BracketedExpressionOf(*node);
            if (!HasAction(*node, EvalBrackets) || inner == nullptr) return std::nullopt;
            return Expression(*inner, depth + 1);
        }
        if (node->Kind == nkFCall) return Call(*node, depth);
        return std::nullopt;
    }

    // A parameter's value; nothing written gives the integer -1.
    std::optional<TPart> Parameter(const TNonTerminal* parameter, int32_t depth) {
        TPart omitted;
        omitted.Type = vtInteger;
        omitted.Sum = TSum::Of(-1);
        if (parameter == nullptr || HasAction(*parameter, EvalOmitted)) return omitted;
        const TNonTerminal* expression = ParameterExpressionOf(*parameter);
        if (!HasAction(*parameter, EvalParameter) || expression == nullptr) return std::nullopt;
        return Expression(*expression, depth + 1);
    }

    std::optional<TPart> Call(const TNonTerminal& node, int32_t depth) {
        const TLexem* word = FunctionWordOf(node);
        const TFunctionRow* function = word != nullptr ? FindFunction(word->Text) : nullptr;
        if (!HasAction(node, EvalCall) || function == nullptr) return std::nullopt;
        const TParameters parameters = CollectParameters(node);
        std::optional<TPart> seat = Parameter(parameters[0], depth);
        if (parameters.Count == 0 || !seat || seat->Type != vtPosition) return std::nullopt;
        TPart out;
        out.Type = function->Result;
        // Arguments that are no constants leave the call unknown.
        std::array<int64_t, 6> arguments;
        arguments.fill(-1);
        bool constant = seat->Code >= 1 && seat->Code <= 4;
        for (int32_t k = 1; k <= function->ArgumentCount() && k <= 6; ++k) {
            std::optional<TPart> argument = Parameter(parameters[k], depth);
            if (!argument) return std::nullopt;
            if (argument->Type == vtSuit)
                arguments[static_cast<std::size_t>(k - 1)] = argument->Code;
            else if (argument->Sum.IsConstant())
                arguments[static_cast<std::size_t>(k - 1)] = argument->Sum.Constant;
            else
                constant = false;
        }
        if (!constant) return out;  // an unknown sum or truth
        const int32_t at = seat->Code;
        const int64_t first = arguments[0];
        const bool suit = first >= 1 && first <= 4;
        if (function->Code == TCallCode::Hcp) {
            out.Sum = TSum::Figure(
                at, suit ? PointsFigure + static_cast<int32_t>(first) - 1 : TotalFigure);
        } else if (function->Code == TCallCode::SuitLength) {
            if (suit)
                out.Sum = TSum::Figure(at, LengthFigure + static_cast<int32_t>(first) - 1);
            else
                out.Sum = TSum::Of(0);
        } else if (function->Name == "SuitByLength") {
            if (first >= 1 && first <= 4)
                out.Sum = TSum::Figure(at, LongestFigure + static_cast<int32_t>(first) - 1);
            else
                out.Sum = TSum::Of(0);
        } else if (function->Result == vtBoolean) {
            out.Truth = HandFunction(function->Name, at, arguments);
        }
        return out;
    }
};

}  // namespace

std::array<THandBounds, 4> ConditionBounds(const TNonTerminal& root) {
    TReasoner reasoner;
    std::optional<TPart> value = reasoner.Expression(root, 0);
    if (!value || value->Type != vtBoolean) return TBox{};
    return value->Truth.True;
}
