#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ConditionTestSupport.h"
#include "analysis/DoubleDummy.h"
#include "deals/Deal.h"
#include "deals/RandomSource.h"
#include "language/ConditionCheck.h"
#include "language/ErrorReport.h"
#include "support/RecordingSink.h"

namespace {

const std::string Boolean = "Несоответствие типов: требуется \"Логический\"";
const std::string Integer = "Несоответствие типов: требуется \"Целый\"";

TEST(Evaluation, EmptyConditionKeepsEveryDealAndBlanksAreRefusedSilently) {
    TRecordingSink sink;
    TCompiledCondition condition;
    ASSERT_TRUE(condition.Prepare("", TestRules()));
    EXPECT_TRUE(condition.IsEmpty());
    TDeal deal;
    deal.DealFromSeed(*std::make_unique<uint32_t>(7u));
    EXPECT_TRUE(condition.Matches(deal));

    EXPECT_FALSE(condition.Prepare("   ", TestRules()));
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(condition.ErrorPosition(), 0);
}

struct TCheckValueCase {
    std::string condition;
    std::string value;  // the root's value without a deal, where every call is "0"
};

TEST(Evaluation, CheckWithoutDealGivesBooleanRootAndZeroCalls) {
    const std::vector<TCheckValueCase> cases = {
        {"(HCP(N) >= 12) AND (HCP(S) >= 12)", "0"},
        {"(HCP(N) >= 12) AND HCP(S) >= 12", "0"},
        {"(HCP(N) + HCP(S)) >= 20", "0"},
        {"NOT Balanced(N)", "1"},
        {"TRUE", "1"},
        {"f", "0"},
        {"HCP(N, SP) > -1", "1"},
        {"(10 - 3 - 2) = 9", "1"},
        {"Balanced(N,,17) OR Balanced(N)", "0"},
        {"Suits(N, 1, 5, -1, -1, -1)", "0"},
        {"SuitByLength(N,) = 0", "1"},
        {"NOT NOT (T)", "1"},
        {"Multy(N, 1, 2, 3, 4, 5, 6, 7, 8)", "0"},
        {"Tricks(N, SP) >= 7", "0"},
        {"NOT (Tricks(S) > 13)", "1"},
        {"Prec1d(N, , , , 15) <> T", ""},  // not Boolean: refused below
    };
    for (const TCheckValueCase& c : cases) {
        TRecordingSink sink;
        TCompiledCondition condition;
        const int64_t solvesBefore = DoubleDummySolveCount();
        const bool ready = condition.Prepare(c.condition, TestRules());
        EXPECT_EQ(DoubleDummySolveCount(), solvesBefore) << c.condition;
        EXPECT_EQ(ready, !c.value.empty()) << c.condition;
        if (!ready) continue;
        EXPECT_TRUE(sink.messages.empty()) << c.condition;
        EXPECT_EQ(condition.Root()->ValueType, vtBoolean) << c.condition;
        // The check leaves the root's value in place; a new Bind forgets it.
        EXPECT_EQ(condition.Root()->Value, c.value) << c.condition;
    }
}

struct TDealCase {
    std::string condition;
    std::function<bool(TDeal&)> expected;  // nullptr: holds for every deal
};

const std::vector<TDealCase> DealCases = {
    {"HCP(N) >= 12", [](TDeal& d) { return d.HCP(1, -1) >= 12; }},
    {"hcp(north) < 8", [](TDeal& d) { return d.HCP(1, -1) < 8; }},
    {"(HCP(N) + HCP(S)) >= 25", [](TDeal& d) { return d.HCP(1, -1) + d.HCP(3, -1) >= 25; }},
    {"(HCP(N) >= 12) AND (HCP(S) >= 12)",
     [](TDeal& d) { return d.HCP(1, -1) >= 12 && d.HCP(3, -1) >= 12; }},
    {"(HCP(E, SP) - HCP(W, H)) > -2", [](TDeal& d) { return d.HCP(2, 4) - d.HCP(4, 3) > -2; }},
    {"HCP(E, DIAMONDS) <> 3", [](TDeal& d) { return d.HCP(2, 2) != 3; }},
    {"SuitLength(W, D) = SuitByLength(W, 4)",
     [](TDeal& d) { return d.SuitLength(4, 2) == d.SuitByLength(4, 4); }},
    {"SuitLength(S, hearts) >= 5", [](TDeal& d) { return d.SuitLength(3, 3) >= 5; }},
    {"SuitByLength(E, 1) <= 4", [](TDeal& d) { return d.SuitByLength(2, 1) <= 4; }},
    {"Balanced(N,,17)", [](TDeal& d) { return d.Balanced(1, -1, 17); }},
    {"Balanced(S)", [](TDeal& d) { return d.Balanced(3, -1, -1); }},
    {"Balanced(W, 12, 14)", [](TDeal& d) { return d.Balanced(4, 12, 14); }},
    {"NOT Multy(E)", [](TDeal& d) { return !d.Multy(2, -1, -1, -1, -1, -1, -1); }},
    {"Multy(S, 5, 11, 1, 9, 8, 7)", [](TDeal& d) { return d.Multy(3, 5, 11, 1, 9, 8, 7); }},
    {"Polish1c(N) OR Prec1d(N, 11, 14)",
     [](TDeal& d) { return d.Polish1c(1, -1, -1, -1, -1) || d.Prec1d(1, 11, 14, -1, -1); }},
    {"Polish1c(E, -1, 15, 17, 19)", [](TDeal& d) { return d.Polish1c(2, -1, 15, 17, 19); }},
    {"Unbal1d(S) OR Prec1h(S) OR Prec1s(S) OR Prec2c(S)",
     [](TDeal& d) {
         return d.Unbal1d(3, -1, -1) || d.Prec1h(3, -1, -1) || d.Prec1s(3, -1, -1) ||
                d.Prec2c(3, -1, -1);
     }},
    {"Prec1h(W, 10) OR Prec2c(W, ,16)",
     [](TDeal& d) { return d.Prec1h(4, 10, -1) || d.Prec2c(4, -1, 16); }},
    {"Range(W, 8, 12)", [](TDeal& d) { return d.Range(4, 8, 12); }},
    {"Suits(N, 1, 4, -1, -1, 3)", [](TDeal& d) { return d.Suits(1, 1, 4, -1, -1, 3); }},
    {"Shape(E, 0, 4, 4, 3, 2)", [](TDeal& d) { return d.Shape(2, 0, 4, 4, 3, 2); }},
    {"Shape(E, -1, 5, -1, -1, -1) AND T", [](TDeal& d) { return d.Shape(2, -1, 5, -1, -1, -1); }},
    {"(10 - 3 - 2) = 9", nullptr},
    {"(HCP(N, C) + HCP(N, D) + HCP(N, H) + HCP(N, SP)) = HCP(N)", nullptr},
    {"(2147483647 + 1) = -2147483648", nullptr},
    {"(-2147483648 - 1) = 2147483647", nullptr},
    {"(HCP(N) + HCP(E) + HCP(S) + HCP(W)) = 40", nullptr},
    // Wraps around to a large positive number exactly for a hand without points.
    {"((HCP(N) - 2147483647) - 2) < 2147483637", [](TDeal& d) { return d.HCP(1, -1) >= 1; }},
};

TEST(Evaluation, AgreesWithTheHandFunctionsOnDealtDeals) {
    TRecordingSink sink;
    std::vector<TCompiledCondition> conditions(DealCases.size());
    for (std::size_t k = 0; k < DealCases.size(); ++k)
        ASSERT_TRUE(conditions[k].Prepare(DealCases[k].condition, TestRules()))
            << DealCases[k].condition;
    TRandomSource source(20261207u);
    std::vector<int> kept(DealCases.size(), 0);
    TDeal deal;
    for (int d = 0; d < 2000; ++d) {
        deal.DealRandom(source);
        for (std::size_t k = 0; k < DealCases.size(); ++k) {
            const bool expected = !DealCases[k].expected || DealCases[k].expected(deal);
            ASSERT_EQ(conditions[k].Matches(deal), expected)
                << DealCases[k].condition << " on deal " << deal.ToText();
            kept[k] += expected;
        }
    }
    EXPECT_TRUE(sink.messages.empty());
    // Each case keeps some deals and, unless it holds for every deal, rejects some.
    for (std::size_t k = 0; k < DealCases.size(); ++k) {
        EXPECT_GT(kept[k], 0) << DealCases[k].condition;
        if (DealCases[k].expected) {
            EXPECT_LT(kept[k], 2000) << DealCases[k].condition;
        }
    }
}

// The most levels of a construct that add the given number of tree nodes each
// that stay under the tree's node limit, with room for what surrounds them.
int Levels(int nodesPerLevel) {
    return static_cast<int>(TCompiledCondition::MaxTreeNodes / nodesPerLevel) - 20;
}

TEST(Evaluation, HostileNestingEvaluatesWithoutRecursion) {
    TRecordingSink sink;
    const int bracketLevels = Levels(5);
    std::string brackets =
        std::string(bracketLevels, '(') + "HCP(N) >= 0" + std::string(bracketLevels, ')');
    const int chainLevels = Levels(2);
    std::string chain = "(";
    for (int k = 1; k < chainLevels; ++k) chain += "1 + ";
    chain += "1) = " + std::to_string(chainLevels);
    std::string nots;
    for (int k = 0, n = Levels(3) / 2 * 2; k < n; ++k) nots += "NOT ";
    std::string parameters = "HCP(N, SP";
    for (int k = 0, n = Levels(4); k < n; ++k) parameters += ", 1";
    parameters += ") > -1";
    std::string calls = "(HCP(N, SP) - ";
    for (int k = 1, n = Levels(13); k < n; ++k) calls += "SuitLength(S, C) - ";
    calls += "0) < 1000";

    TDeal deal;
    uint32_t seed = 99u;
    deal.DealFromSeed(seed);
    for (const std::string& text : {brackets, chain, nots + "T", nots + "NOT T", parameters}) {
        TCompiledCondition condition;
        ASSERT_TRUE(condition.Prepare(text, TestRules())) << text.substr(0, 40);
        const bool expected = text != nots + "NOT T";
        EXPECT_EQ(condition.Matches(deal), expected) << text.substr(0, 40);
        EXPECT_EQ(condition.Matches(deal), expected) << text.substr(0, 40);
    }
    TCompiledCondition calls_condition;
    ASSERT_TRUE(calls_condition.Prepare(calls, TestRules()));
    calls_condition.Matches(deal);
    EXPECT_TRUE(sink.messages.empty());
}

TEST(Evaluation, HostileNestingReportsErrorsAtTheirPositions) {
    // A syntax error is found without a tree, at any depth.
    const int depth = 100000;
    const int bracketLevels = Levels(5);
    const int notLevels = Levels(3);
    const int chainLevels = Levels(2);
    const std::vector<std::pair<std::string, std::pair<std::string, int32_t>>> cases = {
        {std::string(depth, '(') + "T" + std::string(depth - 1, ')'),
         {"Пропущена )", 2 * depth - 1}},
        {std::string(bracketLevels, '(') + "N + 1" + std::string(bracketLevels, ')'),
         {Integer, bracketLevels}},
        {[&] {
             std::string nots;
             for (int k = 0; k < notLevels; ++k) nots += "NOT ";
             return nots + "5";
         }(),
         {Boolean, 0}},
        {[&] {
             std::string chain;
             for (int k = 0; k < chainLevels; ++k) chain += "1 + ";
             return chain + "T";
         }(),
         {Integer, 4 * chainLevels}},
    };
    for (const auto& [text, expected] : cases) {
        TRecordingSink sink;
        TCompiledCondition condition;
        EXPECT_FALSE(condition.Prepare(text, TestRules()));
        ASSERT_EQ(sink.messages.size(), 1u);
        EXPECT_EQ(sink.messages[0].text, expected.first);
        EXPECT_EQ(sink.messages[0].position, expected.second);
    }
}

// The same constructs 100000 levels deep are correct, or only mistyped, but
// their trees would be too large: refused by size where the tree outgrows the
// limit, without building it.
TEST(Evaluation, HostileNestingBeyondTheNodeLimitIsRefusedBySize) {
    const int depth = 100000;
    std::string nots;
    for (int k = 0; k < depth; ++k) nots += "NOT ";
    std::string chain;
    for (int k = 0; k < depth; ++k) chain += "1 + ";
    const std::vector<std::string> texts = {
        std::string(depth, '(') + "HCP(N) >= 0" + std::string(depth, ')'),
        std::string(depth, '(') + "N + 1" + std::string(depth, ')'),
        nots + "T",
        nots + "5",
        chain + "T",
    };
    for (const std::string& text : texts) {
        TRecordingSink sink;
        TCompiledCondition condition;
        EXPECT_FALSE(condition.Prepare(text, TestRules())) << text.substr(0, 40);
        ASSERT_EQ(sink.messages.size(), 1u) << text.substr(0, 40);
        EXPECT_EQ(sink.messages[0].text, "Слишком длинное условие") << text.substr(0, 40);
        EXPECT_EQ(condition.ErrorPosition(), sink.messages[0].position);
        EXPECT_TRUE(condition.IsEmpty());
    }
}

TEST(Evaluation, PreparingAgainReplacesTheCondition) {
    TRecordingSink sink;
    TCompiledCondition condition;
    ASSERT_TRUE(condition.Prepare("F", TestRules()));
    TDeal deal;
    uint32_t seed = 5u;
    deal.DealFromSeed(seed);
    EXPECT_FALSE(condition.Matches(deal));
    ASSERT_TRUE(condition.Prepare("T", TestRules()));
    EXPECT_TRUE(condition.Matches(deal));
    EXPECT_FALSE(condition.Prepare("X", TestRules()));
    EXPECT_TRUE(condition.IsEmpty());
}

}  // namespace
