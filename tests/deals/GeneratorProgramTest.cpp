// The compiled program against the tree: random valid conditions over every
// function and operator, each tested on the same deals by both paths.
#include "deals/GeneratorProgram.h"

#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>
#include <vector>

#include "deals/Deal.h"
#include "language/ConditionCheck.h"
#include "language/Grammar.h"
#include "support/RecordingSink.h"

namespace {

// Writes random conditions that are valid by construction: each expression is
// made for the type it must have. Operators group to the right, so the left
// operand of an operator is always a primary (a value, a call or brackets).
class TConditionWriter {
public:
    explicit TConditionWriter(uint32_t seed) : random_(seed) {}

    std::string Condition() { return Boolean(3); }

private:
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    template <typename T>
    const T& Pick(const std::vector<T>& from) {
        return from[static_cast<size_t>(Below(static_cast<int>(from.size())))];
    }
    // Upper, lower or mixed case: the language does not care.
    std::string Cased(std::string word) {
        int how = Below(3);
        for (char& c : word) {
            if (how == 1) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (how == 2 && Below(2) == 0) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        return word;
    }

    std::string Boolean(int depth) {
        switch (depth > 0 ? Below(6) : Below(2)) {
            case 0: return BooleanPrimary(depth);
            case 1: return IntegerPrimary(depth) + " " + Pick(comparisons_) + " " + Integer(depth - 1);
            case 2: return BooleanPrimary(depth) + " " + Cased(Pick(logical_)) + " " + Boolean(depth - 1);
            case 3: return Cased("NOT") + " " + Boolean(depth - 1);
            case 4: return IntegerPrimary(depth) + " " + Pick(comparisons_) + " " + Integer(depth - 1);
            default: return "(" + Boolean(depth - 1) + ") " + Cased(Pick(logical_)) + " " + Boolean(depth - 1);
        }
    }
    std::string BooleanPrimary(int depth) {
        switch (depth > 0 ? Below(5) : Below(3)) {
            case 0: return Cased(Pick(std::vector<std::string>{"TRUE", "FALSE", "T", "F"}));
            case 1:
            case 2: return BooleanCall(depth);
            case 3: return "(" + Boolean(depth - 1) + ")";
            default: return "(" + Cased("NOT") + " " + Boolean(depth - 1) + ")";
        }
    }
    std::string Integer(int depth) {
        if (depth > 0 && Below(3) == 0) return IntegerPrimary(depth) + " " + Pick(additive_) + " " + Integer(depth - 1);
        return IntegerPrimary(depth);
    }
    std::string IntegerPrimary(int depth) {
        switch (depth > 0 ? Below(5) : Below(3)) {
            case 0: return Literal();
            case 1:
            case 2: return IntegerCall(depth);
            default: return "(" + Integer(depth - 1) + ")";
        }
    }
    std::string Literal() {
        static const std::vector<std::string> extremes = {"2147483647", "-2147483648", "-1", "0", "-0", "007", "-2"};
        if (Below(4) == 0) return Pick(extremes);
        return std::to_string(Below(45) - 5);
    }
    std::string Seat() {
        std::string seat = Cased(Pick(std::vector<std::string>{"N", "E", "S", "W", "NORTH", "EAST", "SOUTH", "WEST"}));
        return Below(6) == 0 ? "(" + seat + ")" : seat;
    }
    std::string Suit() {
        return Cased(Pick(std::vector<std::string>{"C", "D", "H", "SP", "CLUBS", "DIAMONDS", "HEARTS", "SPADES"}));
    }
    // An integer argument: a small number mostly, or any integer expression.
    std::string Argument(int depth) {
        switch (Below(8)) {
            case 0: return Integer(depth - 1);
            case 1: return "-1";
            case 2: return Pick(std::vector<std::string>{"2147483647", "-2147483648", "-5", "100"});
            default: return std::to_string(Below(30) - 2);
        }
    }
    // Arguments after the seat: `required` must be written, the rest may be left
    // out at the end or written empty; sometimes extra ones follow.
    std::string Arguments(int depth, int required, int optional) {
        std::vector<std::string> written;
        for (int k = 0; k < required; ++k) written.push_back(Argument(depth));
        int given = optional > 0 ? Below(optional + 1) : 0;
        for (int k = 0; k < given; ++k) written.push_back(Below(3) == 0 ? "" : Argument(depth));
        if (given == optional && Below(8) == 0) written.push_back(Below(2) == 0 ? Argument(depth) : "TRUE");
        std::string text;
        for (const std::string& argument : written) text += ", " + argument;
        return text;
    }
    std::string BooleanCall(int depth) {
        struct TFunction {
            const char* name;
            int required, optional;
        };
        static const std::vector<TFunction> functions = {
            {"Balanced", 0, 2}, {"Unbal1d", 0, 2}, {"Prec1h", 0, 2}, {"Prec1s", 0, 2}, {"Prec2c", 0, 2},
            {"Polish1c", 0, 4}, {"Prec1d", 0, 4},  {"Multy", 0, 6},  {"Range", 2, 0},  {"Suits", 5, 0},
            {"Shape", 5, 0}};
        const TFunction& f = Pick(functions);
        std::string name = Cased(f.name);
        if (std::string(f.name) == "Suits" || std::string(f.name) == "Shape") {
            // Mode, then lengths that make the call hold for some hands.
            std::string text = name + "(" + Seat() + ", " + std::to_string(Below(3) - 1);
            for (int k = 0; k < 4; ++k) text += ", " + std::to_string(Below(7) - 1);
            return text + ")";
        }
        return name + "(" + Seat() + Arguments(depth, f.required, f.optional) + ")";
    }
    std::string IntegerCall(int depth) {
        switch (Below(3)) {
            case 0: return Cased("HCP") + "(" + Seat() + (Below(2) == 0 ? ", " + Suit() : "") + ")";
            case 1: return Cased("SuitLength") + "(" + Seat() + ", " + Suit() + ")";
            default: return Cased("SuitByLength") + "(" + Seat() + ", " + Argument(depth) + ")";
        }
    }

    std::mt19937 random_;
    const std::vector<std::string> comparisons_ = {"<", "<=", ">", ">=", "=", "<>"};
    const std::vector<std::string> logical_ = {"AND", "OR"};
    const std::vector<std::string> additive_ = {"+", "-"};
};

TEST(ConditionProgram, DecidesEveryDealAsTheTreeDoes) {
    std::unique_ptr<TRuleList> rules = CreateConditionRules();
    std::vector<TDeal> deals(1500);
    uint32_t seed = 20261207u;
    for (TDeal& deal : deals) deal.DealFromSeed(seed);

    TConditionWriter writer(7u);
    int mixed = 0;
    const int conditions = 2500;
    for (int c = 0; c < conditions; ++c) {
        std::string text = writer.Condition();
        TRecordingSink sink;
        TCompiledCondition tree;
        ASSERT_TRUE(tree.Prepare(text, *rules)) << text << "\n" << (sink.messages.empty() ? "" : sink.messages[0].text);
        TConditionProgram program;
        ASSERT_TRUE(program.Compile(*tree.Root())) << text;
        int kept = 0;
        for (size_t d = 0; d < deals.size(); ++d) {
            TDeal deal = deals[d];  // fresh figure caches for each path
            TDeal same = deals[d];
            bool byTree = tree.Matches(deal);
            ASSERT_EQ(program.Matches(same), byTree) << text << "\ndeal " << d << ": " << deal.ToText();
            kept += byTree;
        }
        if (kept > 0 && kept < static_cast<int>(deals.size())) ++mixed;
    }
    // Most conditions keep some deals and reject others, so the decisions are
    // really compared, not only constants.
    EXPECT_GT(mixed, conditions / 3);
}

TEST(ConditionProgram, CoversTheFormsOfTheGrammar) {
    std::unique_ptr<TRuleList> rules = CreateConditionRules();
    TDeal deal;
    uint32_t seed = 1;  // North 7532 A6 Q2 KJ842, 10 points
    deal.DealFromSeed(seed);
    struct TCase {
        const char* text;
        bool kept;
    };
    for (const TCase& c : std::vector<TCase>{
             {"TRUE", true},
             {"f", false},
             {"HCP(N) = 10", true},
             {"HCP(N, SP) = 0", true},
             {"(10 - 3 - 2) = 9", true},  // 10 - (3 - 2)
             {"(2147483647 + 1) < 0", true},
             {"(-2147483648 - 1) = 2147483647", true},
             {"NOT FALSE AND FALSE", true},  // NOT covers everything on its right
             {"(NOT FALSE) AND FALSE", false},
             {"Balanced(N,,17, 5, TRUE)", false},
             {"SuitByLength(N, 1) = 5", true},
             {"SuitByLength(N, 0) = 0", true},
             {"Range(N, 10, 10) AND Range(North, -1, 10) AND NOT Range(N, 10, -1)", true},
             {"Suits(N, 1, 4, 2, 2, 5) AND Shape(N, 0, 5, 4, 2, 2)", true},
         }) {
        TCompiledCondition tree;
        ASSERT_TRUE(tree.Prepare(c.text, *rules)) << c.text;
        TConditionProgram program;
        ASSERT_TRUE(program.Compile(*tree.Root())) << c.text;
        TDeal copy = deal;
        EXPECT_EQ(program.Matches(copy), c.kept) << c.text;
        EXPECT_EQ(tree.Matches(deal), c.kept) << c.text;
    }
}

}  // namespace
