// The compiled form of a checked condition must give every deal the keep or
// reject decision of binding and evaluating the tree, on card places and on
// the card sets of the generator's loop alike. Random valid conditions
// (typed by construction, so that most pass the check) and hand-written tricky
// ones are run against dealt deals by both paths.
#include <gtest/gtest.h>

#include <cctype>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "ConditionTestSupport.h"
#include "analysis/DoubleDummy.h"
#include "deals/Deal.h"
#include "language/ConditionCheck.h"
#include "language/FunctionTable.h"
#include "support/AllocationCounter.h"
#include "support/RecordingSink.h"

namespace {

// Deals from consecutive seeds of one key value, dealt once for all conditions.
const std::vector<TDeal>& Deals() {
    static const std::vector<TDeal> deals = [] {
        std::vector<TDeal> made(1500);
        uint32_t seed = 20261207u;
        for (TDeal& deal : made) deal.DealFromSeed(seed);
        return made;
    }();
    return deals;
}

// Conditions that ask for double-dummy tricks are compared on the first few
// deals only, whose tables are solved once and then read from the cache.
constexpr std::size_t SolvedDeals = 12;

bool AsksForTricks(const std::string& text) {
    std::string upper = text;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper.find("TRICKS") != std::string::npos;
}

std::size_t DealsFor(const std::string& text) {
    if (!AsksForTricks(text)) return Deals().size();
    static const bool solved = [] {
        std::vector<const TDeal*> first;
        for (std::size_t k = 0; k < SolvedDeals; ++k) first.push_back(&Deals()[k]);
        std::vector<TDealAnalysis> results;
        return AnalyseDeals(first, results);
    }();
    EXPECT_TRUE(solved);
    return SolvedDeals;
}

// Compares both paths on every deal; on the first difference, a failure that
// names the condition and the deal line. The number of deals kept.
int CompareOnDeals(TCompiledCondition& condition, const std::string& text) {
    int kept = 0;
    const std::size_t count = DealsFor(text);
    for (std::size_t k = 0; k < count; ++k) {
        TDeal deal = Deals()[k];
        TDeal copy = deal;  // each path fills the caches of its own copy
        const bool byTree = condition.MatchesByTree(copy);
        const bool compiled = condition.Matches(deal);
        const bool onCardSets = condition.Matches(deal.CardSets());
        if (byTree != compiled || onCardSets != compiled) {
            ADD_FAILURE() << "condition: " << text << "\ndeal: " << deal.ToText()
                          << "\ntree: " << byTree << ", compiled: " << compiled
                          << ", on card sets: " << onCardSets;
            return -1;
        }
        kept += compiled;
    }
    return kept;
}

// Builds random conditions that are well typed by construction. Operators
// share one level and group to the right, so a left operand is a single
// value, call, NOT or bracketed expression and a comparison or sum standing
// left of AND/OR is bracketed.
class TConditionMaker {
public:
    explicit TConditionMaker(uint32_t seed) : random_(seed) {}

    std::string Boolean(int depth) {
        switch (Below(depth > 0 ? 4 : 2)) {
            case 0:
                return BooleanOperand(depth);
            case 1:
                return IntegerOperand(depth) + " " + Pick(Comparisons) + " " + Integer(depth);
            default:
                return BooleanOperand(depth) + " " + Word(Below(2) ? "AND" : "OR") + " " +
                       Boolean(depth - 1);
        }
    }

private:
    const std::vector<std::string> Comparisons = {"<", "<=", ">", ">=", "=", "<>"};
    const std::vector<std::string> Seats = {"N",     "E",    "S",    "W", "NORTH",
                                            "SOUTH", "EAST", "WEST", "n", "North"};
    const std::vector<std::string> Suits = {"C",        "D",      "H",      "SP", "CLUBS",
                                            "DIAMONDS", "HEARTS", "SPADES", "sp", "Hearts"};
    const std::vector<std::string> Booleans = {"TRUE", "FALSE", "T", "F", "true", "f"};
    const std::vector<std::string> Literals = {"0",
                                               "-0",
                                               "-1",
                                               "1",
                                               "007",
                                               "-0003",
                                               "13",
                                               "40",
                                               "2147483647",
                                               "-2147483648",
                                               "2147483646",
                                               "-2147483647",
                                               "1000000000",
                                               "-1000000000",
                                               "00002147483647",
                                               "-00000000002147483648"};
    struct TFunction {
        std::string name;
        int arguments;  // after the seat
        bool required;
        std::string signature;  // a letter per argument: 's' a suit, 'i' an integer
    };
    // The functions of the language's table with the result type.
    static std::vector<TFunction> FunctionsGiving(TValueType result) {
        std::vector<TFunction> functions;
        for (const TFunctionRow& row : FunctionTable())
            if (row.Result == result)
                functions.push_back({std::string(row.Name), row.ArgumentCount(),
                                     row.Missing != TMissingArgument::Default,
                                     std::string(row.Signature)});
        return functions;
    }
    const std::vector<TFunction> BooleanFunctions = FunctionsGiving(vtBoolean);
    const std::vector<TFunction> IntegerFunctions = FunctionsGiving(vtInteger);

    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    const std::string& Pick(const std::vector<std::string>& from) {
        return from[static_cast<std::size_t>(Below(static_cast<int>(from.size())))];
    }
    // The word in upper, lower or mixed case: case never matters.
    std::string Word(std::string word) {
        const int style = Below(4);
        for (std::size_t k = 0; k < word.size(); ++k) {
            const unsigned char c = static_cast<unsigned char>(word[k]);
            if (style == 1 || (style == 2 && k % 2 == 1))
                word[k] = static_cast<char>(std::tolower(c));
            if (style == 0) word[k] = static_cast<char>(std::toupper(c));
        }
        return word;
    }
    std::string Bracketed(const std::string& text) { return "(" + text + ")"; }

    std::string Seat() {
        const std::string seat = Word(Pick(Seats));
        return Below(6) == 0 ? Bracketed(seat) : seat;
    }
    std::string Suit() {
        const std::string suit = Word(Pick(Suits));
        return Below(6) == 0 ? Bracketed(suit) : suit;
    }
    std::string Literal() {
        if (Below(3) == 0) return Pick(Literals);
        return std::to_string(Below(45) - 4);
    }

    std::string Integer(int depth) {
        if (depth <= 0 || Below(3) != 0) return IntegerOperand(depth);
        return IntegerOperand(depth) + (Below(2) ? " + " : " - ") + Integer(depth - 1);
    }
    std::string IntegerOperand(int depth) {
        switch (Below(depth > 0 ? 5 : 2)) {
            case 0:
                return Literal();
            case 1:
            case 2:
                return IntegerCall(depth);
            default:
                return Bracketed(Integer(depth - 1));
        }
    }
    std::string BooleanOperand(int depth) {
        switch (Below(depth > 0 ? 6 : 2)) {
            case 0:
                return Word(Pick(Booleans));
            case 1:
            case 2:
                return BooleanCall(depth);
            case 3:
                return Word("NOT") + " " + BooleanOperand(depth - 1);
            default:
                return Bracketed(Boolean(depth - 1));
        }
    }

    // Parameters beyond a signature: evaluated by the tree but never checked,
    // so even values without a type (empty brackets, NOT 5) are allowed.
    void AddExtras(std::vector<std::string>& parameters, int depth) {
        if (Below(6) != 0) return;
        for (int k = Below(3) + 1; k > 0; --k) {
            switch (Below(6)) {
                case 0:
                    parameters.push_back("");
                    break;
                case 1:
                    parameters.push_back("()");
                    break;
                case 2:
                    parameters.push_back(Word("NOT") + " 5");
                    break;
                case 3:
                    parameters.push_back(Seat());
                    break;
                case 4:
                    parameters.push_back(Word("SuitByLength") + "(" + Seat() + ")");
                    break;
                default:
                    parameters.push_back(Boolean(depth - 1));
                    break;
            }
        }
    }
    std::string CallText(const std::string& name, const std::vector<std::string>& parameters) {
        std::string text = Word(name) + "(";
        for (std::size_t k = 0; k < parameters.size(); ++k)
            text += (k > 0 ? (Below(2) ? ", " : ",") : "") + parameters[k];
        return text + ")";
    }
    // An integer argument: small values mostly, with -1, empty and large ones.
    std::string Argument(int depth) {
        switch (Below(8)) {
            case 0:
                return "-1";
            case 1:
                return "";
            case 2:
                return Integer(depth - 1);
            default:
                return std::to_string(Below(30) - 3);
        }
    }

    std::string IntegerCall(int depth) {
        const TFunction& function = IntegerFunctions[static_cast<std::size_t>(
            Below(static_cast<int>(IntegerFunctions.size())))];
        std::vector<std::string> parameters = {Seat()};
        if (function.name == "SuitByLength") {
            parameters.push_back(Below(4) == 0 ? Integer(depth - 1) : std::to_string(Below(7) - 1));
        } else {
            // HCP: the suit only counts when a second parameter is written.
            const int written =
                function.required ? function.arguments : Below(function.arguments + 1);
            for (int k = 0; k < written; ++k)
                parameters.push_back(function.signature[static_cast<std::size_t>(k)] == 's'
                                         ? Suit()
                                         : Argument(depth));
            if (written < function.arguments) return CallText(function.name, parameters);
        }
        AddExtras(parameters, depth);
        return CallText(function.name, parameters);
    }
    std::string BooleanCall(int depth) {
        const TFunction& function = BooleanFunctions[static_cast<std::size_t>(
            Below(static_cast<int>(BooleanFunctions.size())))];
        std::vector<std::string> parameters = {Seat()};
        const int written = function.required ? function.arguments : Below(function.arguments + 1);
        for (int k = 0; k < written; ++k) {
            if (function.signature[static_cast<std::size_t>(k)] == 's')
                parameters.push_back(Suit());
            else if ((function.name == "Suits" || function.name == "Shape") && k > 0 && Below(2))
                parameters.push_back(std::to_string(Below(9) - 1));  // lengths
            else
                parameters.push_back(Argument(depth));
        }
        if (written == function.arguments) AddExtras(parameters, depth);
        return CallText(function.name, parameters);
    }

    std::mt19937 random_;
};

TEST(CompiledEvaluation, RandomConditionsDecideAsTheTreeDoes) {
    TRecordingSink sink;
    TConditionMaker maker(9u);
    int accepted = 0, compiled = 0, tried = 0;
    long kept = 0, dealt = 0;
    int withTricks = 0, questions = 0;
    while (accepted < 2000 && tried < 20000) {
        ++tried;
        const std::string text = maker.Boolean(3);
        TCompiledCondition condition;
        if (!condition.Prepare(text, TestRules())) continue;
        ++accepted;
        compiled += condition.IsCompiled();
        EXPECT_TRUE(condition.IsCompiled()) << text;
        const int keptHere = CompareOnDeals(condition, text);
        ASSERT_GE(keptHere, 0);
        kept += keptHere;
        dealt += static_cast<long>(DealsFor(text));
        withTricks += AsksForTricks(text);
        TCompiledEvaluator evaluator;
        if (evaluator.Compile(*condition.Root())) questions += evaluator.QuestionCount();
    }
    std::cout << "tricks compared as questions: " << questions << "\n";
    EXPECT_GT(questions, 50);
    EXPECT_EQ(accepted, 2000) << "of " << tried;
    EXPECT_EQ(compiled, accepted);
    EXPECT_GT(withTricks, 100);  // the double-dummy function is drawn like the others
    // Both decisions occur often: the conditions are not trivially constant.
    EXPECT_GT(kept, dealt / 10);
    EXPECT_LT(kept, dealt * 9 / 10);
}

struct TTrickyCase {
    std::string condition;
    int keptOf1500;  // the kept count (of 12 when the tricks are asked), or -1 when only both paths
                     // must agree
};

const std::vector<TTrickyCase> TrickyCases = {
    {"(10 - 3 - 2) = 9", 1500},  // the subtraction groups to the right
    {"(2147483647 + 1) = -2147483648", 1500},
    {"(-2147483648 - 1) = 2147483647", 1500},
    {"(-2147483648 - HCP(N) - HCP(N)) = -2147483648", 1500},
    {"(2147483647 + HCP(N) + 1) < 0", 1500},
    {"(007 = 7) AND (-0 = 0) AND (-00000000002147483648 < -2147483647)", 1500},
    {"NOT NOT NOT F", 1500},
    {"NOT T OR T", 0},  // NOT covers the rest
    {"(NOT T) OR T", 1500},
    {"T AND F OR T", 1500},  // groups to the right: T AND (F OR T)
    {"F OR T AND F", 0},
    {"F AND HCP(N) > 40", 0},
    {"T OR HCP(N) > 40", 1500},
    {"HCP(N, SP, (), NOT 5, SuitByLength(N), W) = HCP(North, spades)", 1500},
    {"HCP(N, SP, ) = HCP(N, SPADES)", 1500},
    {"HCP(N) = HCP(N, C) + HCP(N, D) + HCP(N, H) + HCP(N, SP)", 1500},
    {"(SuitLength(S, SP) + SuitLength(S, H) + SuitLength(S, D) + SuitLength(S, C)) = 13", 1500},
    {"(SuitByLength(E, 0) + SuitByLength(E, 5) + SuitByLength(E, -1)) = 0", 1500},
    {"(SuitByLength(E, 2 - 1) >= SuitByLength(E, 4)) AND (SuitByLength(E, 1) > 3)", 1500},
    {"Range(N, -1, -1)", 0},
    {"Range(N, , 40)", 1500},
    {"Suits(W, 0, -1, -1, -1, -1) AND Shape(W, 5, -2, -3, -4, -2147483648)", 1500},
    {"Balanced(N,,17) OR NOT Balanced(N, -1, 17)", 1500},
    {"Balanced(N, -2, 14)", -1},
    {"Polish1c(E, -1, 15) OR Prec1d(E,,,,) OR Multy(S, , , , , , , 1) OR Unbal1d(W, 0)", -1},
    {"Prec1h(N) AND Prec1s(N)", 0},
    {"(HCP(W, H) - HCP(E, D) + 3) <> 2", -1},
    {"((((((HCP(N) >= 10)))))) AND ((((T))))", -1},
    // Double-dummy tricks; a suit left out is notrump.
    {"(Tricks(N) + Tricks(E)) >= 10", -1},
    {"(Tricks(S, SP) - Tricks(W, spades)) > 0", -1},
    {"(Tricks(N, H) > 13) OR (Tricks(N, HEARTS) < 0)", 0},
    {"(Tricks(E, C) >= 7) AND ((HCP(E) + HCP(W)) >= 20)", -1},
    {"(HCP(N) > 40) OR (Tricks(N, D) <= Tricks(S, D) + 13)", 12},
    // Compared with a constant, tricks are asked as questions, on either side.
    {"(6 + 4) <= Tricks(N, SP)", -1},
    {"NOT Tricks(S) > 8", -1},
    {"(Tricks(E, H) = 6) OR (Tricks(W, D) <> 7) OR (3 > Tricks(N, C))", -1},
    {"(Tricks(N) >= -2147483648) AND (Tricks(S, SP) <= 2147483647)", 12},
    {"(2147483647 < Tricks(E)) OR (Tricks(W, H) < -1) OR (-1 = Tricks(N, C))", 0},
    {"(Tricks(N, SP) >= 0) AND (13 >= Tricks(E))", 12},
    {"NOT (Range(N, 8, 12) AND Prec2c(S)) AND (Shape(S, 0, 4, 4, 3, 2) OR Suits(N, 1, 5, -1, -1, "
     "-1))",
     -1},
};

TEST(CompiledEvaluation, TrickyConditionsDecideAsTheTreeDoes) {
    TRecordingSink sink;
    for (const TTrickyCase& c : TrickyCases) {
        TCompiledCondition condition;
        ASSERT_TRUE(condition.Prepare(c.condition, TestRules())) << c.condition;
        EXPECT_TRUE(condition.IsCompiled()) << c.condition;
        const int kept = CompareOnDeals(condition, c.condition);
        if (c.keptOf1500 >= 0) {
            EXPECT_EQ(kept, c.keptOf1500) << c.condition;
        }
    }
    EXPECT_TRUE(sink.messages.empty());
}

// AND and OR evaluate the operand without a solve first: deals that the cheap
// operand decides are never solved, whichever side it is written on.
TEST(CompiledEvaluation, CheapOperandsDecideBeforeTricksAreSolved) {
    TRecordingSink sink;
    const struct {
        std::string text;
        bool kept;
    } cases[] = {
        {"(Tricks(N, SP) >= 0) AND (HCP(N) > 40)", false},
        {"(HCP(N) > 40) AND (Tricks(N, SP) >= 0)", false},
        {"(Tricks(S) > 13) OR (SuitLength(S, H) < 14)", true},
        {"NOT ((Tricks(W, C) >= 0) AND F)", true},
    };
    for (const auto& [text, kept] : cases) {
        TCompiledCondition condition;
        ASSERT_TRUE(condition.Prepare(text, TestRules())) << text;
        ASSERT_TRUE(condition.IsCompiled()) << text;
        const int64_t before = DoubleDummySolveCount();
        for (std::size_t k = 100; k < 150; ++k) {
            TDeal deal = Deals()[k];
            EXPECT_EQ(condition.Matches(deal), kept) << text;
        }
        EXPECT_EQ(DoubleDummySolveCount(), before) << text;
    }
}

TEST(CompiledEvaluation, ConstantConditionsCompileToNoInstructions) {
    TRecordingSink sink;
    const std::vector<std::string> constants = {"T", "(1 + 2) = 3", "NOT (F OR (5 > 6))",
                                                "F AND HCP(N) > 3", "T OR Balanced(S)"};
    for (const std::string& text : constants) {
        TCompiledCondition condition;
        ASSERT_TRUE(condition.Prepare(text, TestRules())) << text;
        TCompiledEvaluator evaluator;
        ASSERT_TRUE(evaluator.Compile(*condition.Root())) << text;
        EXPECT_EQ(evaluator.InstructionCount(), 0) << text;
    }
}

// Nesting beyond the compiler's depth falls back to the tree, which does not
// recurse; the decision stays the same either way.
TEST(CompiledEvaluation, DeepNestingFallsBackToTheTree) {
    TRecordingSink sink;
    auto nested = [](int depth) {
        std::string text;
        for (int k = 0; k < depth; ++k) text += "NOT (";
        text += "HCP(N) > 9";
        return text + std::string(static_cast<std::size_t>(depth), ')');
    };
    auto chain = [](int terms) {
        std::string text = "(HCP(N)";
        for (int k = 1; k < terms; ++k) text += " - HCP(S)";
        return text + ") > -100";
    };
    const struct {
        std::string text;
        bool compiled;
    } cases[] = {
        // The deep ones stay under the tree's node limit: 8 nodes for each
        // "NOT (", 13 for each " - HCP(S)".
        {nested(20), true},
        {nested(12000), false},
        {chain(50), true},
        {chain(7500), false},
    };
    for (const auto& c : cases) {
        TCompiledCondition condition;
        ASSERT_TRUE(condition.Prepare(c.text, TestRules())) << c.text.substr(0, 40);
        EXPECT_EQ(condition.IsCompiled(), c.compiled) << c.text.substr(0, 40);
        // Either way, matching deals allocates nothing.
        const long before = AllocationsOfThisThread();
        for (std::size_t k = 0; k < 20; ++k) {
            TDeal deal = Deals()[k];
            TDeal copy = deal;
            const TCardSets sets = deal.CardSets();
            ASSERT_EQ(condition.Matches(deal), condition.MatchesByTree(copy))
                << c.text.substr(0, 40);
            ASSERT_EQ(condition.Matches(sets), condition.MatchesByTree(copy))
                << c.text.substr(0, 40);
        }
        EXPECT_EQ(AllocationsOfThisThread() - before, 0) << c.text.substr(0, 40);
    }
}

}  // namespace
