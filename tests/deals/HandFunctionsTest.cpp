#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "HandBuilder.h"
#include "deals/Hand.h"

namespace {

struct FunctionCase {
    std::string name;
    std::string suits;  // spades.hearts.diamonds.clubs
    std::function<bool(THand&)> call;
    bool expected;
};

class HandFunctions : public ::testing::TestWithParam<FunctionCase> {};

TEST_P(HandFunctions, HoldExactlyWhenTheirConditionsDo) {
    THand hand = MakeHand(GetParam().suits);
    EXPECT_EQ(GetParam().call(hand), GetParam().expected) << GetParam().suits;
}

std::string CaseName(const ::testing::TestParamInfo<FunctionCase>& info) { return info.param.name; }

// Hands by shape and points (ace 4, king 3, queen 2, jack 1).
const char* const Bal4333_13 = "AKQ2.KJ3.T98.765";
const char* const Bal4333_14 = "AKQ2.AJ3.T98.765";
const char* const Bal4333_15 = "AKQ2.AQ3.T98.765";
const char* const Bal4333_18 = "AKQ2.AKJ.J98.765";
const char* const Bal4432 = "AKQ2.KJ32.T9.765";
const char* const Bal5332Clubs = "AK2.QJ3.T9.76543";
const char* const Bal5332Diamonds = "AK2.QJ3.T9876.54";
const char* const Bal4333_5 = "K432.Q32.432.432";
const char* const Spades5332 = "AK432.QJ3.T9.765";
const char* const Hearts5332 = "QJ3.AK432.T9.765";
const char* const Unbal5422_13 = "AK432.AQ32.T9.76";
const char* const Unbal5422_15 = "AK432.AKJ2.T9.76";
const char* const Unbal5422_16 = "AK432.AKQ2.T9.76";
const char* const Shape4441 = "AKQ2.KJ32.T987.6";
const char* const Shape6322 = "AK5432.QJ3.T9.76";

auto Bal(int32_t min, int32_t max) {
    return [=](THand& h) { return h.Balanced(min, max); };
}
auto Polish(int32_t a1, int32_t a2, int32_t a3, int32_t a4) {
    return [=](THand& h) { return h.Polish1c(a1, a2, a3, a4); };
}
auto Prec1d(int32_t a1, int32_t a2, int32_t a3, int32_t a4) {
    return [=](THand& h) { return h.Prec1d(a1, a2, a3, a4); };
}
const auto Unbal1d = [](THand& h) { return h.Unbal1d(-1, -1); };
const auto Prec1h = [](THand& h) { return h.Prec1h(-1, -1); };
const auto Prec1s = [](THand& h) { return h.Prec1s(-1, -1); };
auto Prec2c(int32_t a1, int32_t a2) {
    return [=](THand& h) { return h.Prec2c(a1, a2); };
}
auto Multy(int32_t a1, int32_t a2, int32_t a3, int32_t a4, int32_t a5, int32_t a6) {
    return [=](THand& h) { return h.Multy(a1, a2, a3, a4, a5, a6); };
}
auto Suits(int32_t mode, int32_t s, int32_t h, int32_t d, int32_t c) {
    return [=](THand& hand) { return hand.Suits(mode, s, h, d, c); };
}
auto Shape(int32_t mode, int32_t l1, int32_t l2, int32_t l3, int32_t l4) {
    return [=](THand& hand) { return hand.Shape(mode, l1, l2, l3, l4); };
}
auto Range(int32_t min, int32_t max) {
    return [=](THand& h) { return h.Range(min, max); };
}

INSTANTIATE_TEST_SUITE_P(
    Balanced, HandFunctions,
    ::testing::Values(FunctionCase{"Shape4333", Bal4333_13, Bal(-1, -1), true},
                      FunctionCase{"Shape4432", Bal4432, Bal(-1, -1), true},
                      FunctionCase{"FiveClubs", Bal5332Clubs, Bal(-1, -1), true},
                      FunctionCase{"FiveDiamonds", Bal5332Diamonds, Bal(-1, -1), true},
                      FunctionCase{"FiveSpades", Spades5332, Bal(-1, -1), false},
                      FunctionCase{"FiveHearts", Hearts5332, Bal(-1, -1), false},
                      FunctionCase{"Shape5422", Unbal5422_13, Bal(-1, -1), false},
                      FunctionCase{"Shape4441", Shape4441, Bal(-1, -1), false},
                      FunctionCase{"Shape6322", Shape6322, Bal(-1, -1), false},
                      FunctionCase{"TopBoundOnlyBelow", Bal4333_13, Bal(-1, 14), true},
                      FunctionCase{"TopBoundOnlyAbove", Bal4333_15, Bal(-1, 14), false},
                      FunctionCase{"BottomBoundOnly", Bal4333_13, Bal(14, -1), false},
                      FunctionCase{"MinusTwoIsABound", Bal4333_5, Bal(-2, 14), true},
                      FunctionCase{"BothBounds", Bal4333_14, Bal(14, 14), true}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Openings, HandFunctions,
    ::testing::Values(
        FunctionCase{"Polish1cBal15", Bal4333_15, Polish(-1, -1, -1, -1), false},
        FunctionCase{"Polish1cBal13", Bal4333_13, Polish(-1, -1, -1, -1), true},
        FunctionCase{"Polish1cBal18", Bal4333_18, Polish(-1, -1, -1, -1), true},
        FunctionCase{"Polish1cUnbal15", Unbal5422_15, Polish(-1, -1, -1, -1), false},
        FunctionCase{"Polish1cUnbal16", Unbal5422_16, Polish(-1, -1, -1, -1), true},
        FunctionCase{"Polish1cExplicitMinusOne", Bal4333_15, Polish(-1, 15, -1, -1), true},
        FunctionCase{"Polish1cMinusTwoLiteral", Bal4333_5, Polish(-2, -1, -1, -1), true},
        FunctionCase{"Polish1cWeakBal", Bal4333_5, Polish(-1, -1, -1, -1), false},
        FunctionCase{"Prec1dBal14", Bal4333_14, Prec1d(-1, -1, -1, -1), true},
        FunctionCase{"Prec1dBal15", Bal4333_15, Prec1d(-1, -1, -1, -1), false},
        FunctionCase{"Prec1dFourDiamondsFourHearts", "AK32.KJ32.Q987.6", Prec1d(-1, -1, -1, -1),
                     true},
        FunctionCase{"Prec1dFiveHearts", "AK3.KJ432.Q987.6", Prec1d(-1, -1, -1, -1), false},
        FunctionCase{"Prec1dUnbalRange", "AK32.KJ32.Q987.6", Prec1d(-1, -1, 14, -1), false},
        FunctionCase{"Unbal1dFourDiamonds", "AK32.KJ32.Q987.6", Unbal1d, true},
        FunctionCase{"Unbal1dBalanced", Bal5332Diamonds, Unbal1d, false},
        FunctionCase{"Unbal1dThreeDiamonds", "AK32.KJ32.Q98.76", Unbal1d, false},
        FunctionCase{"Prec1sFiveFive", "AK432.QJ432.Q2.2", Prec1s, true},
        FunctionCase{"Prec1hFiveFive", "AK432.QJ432.Q2.2", Prec1h, false},
        FunctionCase{"Prec1sFiveSix", "AK432.QJ5432.Q2.-", Prec1s, true},
        FunctionCase{"Prec1hFiveSix", "AK432.QJ5432.Q2.-", Prec1h, false},
        FunctionCase{"Prec1hFiveSeven", "AK432.QJ65432.Q.-", Prec1h, true},
        FunctionCase{"Prec1sFiveSeven", "AK432.QJ65432.Q.-", Prec1s, false},
        FunctionCase{"Prec1hThreeFive", "AK4.QJ432.Q32.32", Prec1h, true},
        FunctionCase{"Prec1hFourFive", "AK42.QJ432.Q32.2", Prec1h, false},
        FunctionCase{"Prec1sFourFive", "AK42.QJ432.Q32.2", Prec1s, false},
        FunctionCase{"Prec1sTooStrong", "AK432.AKJ2.T9.76",
                     [](THand& h) { return h.Prec1s(-1, 14); }, false},
        FunctionCase{"Prec2cFiveClubsFourHearts", "32.AK32.32.AQ432", Prec2c(-1, -1), true},
        FunctionCase{"Prec2cFiveClubsFourDiamonds", "2.AK3.5432.AQ432", Prec2c(-1, -1), false},
        FunctionCase{"Prec2cNoMajor", "K32.Q32.J2.AK432", Prec2c(-1, -1), false},
        FunctionCase{"Prec2cSixClubsFourSpades", "AK32.2.32.AQ5432", Prec2c(-1, -1), true},
        FunctionCase{"Prec2cSixClubsFiveDiamonds", "-.2.AK432.AQ5432", Prec2c(-1, -1), false},
        FunctionCase{"Prec2cPoints", "32.AK32.32.AQ432", Prec2c(14, -1), false}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Multy, HandFunctions,
    ::testing::Values(
        FunctionCase{"SixSpadesFlat", "KQ5432.K32.32.32", Multy(-1, -1, -1, -1, -1, -1), true},
        FunctionCase{"SixHeartsFlat", "32.KQ5432.K32.32", Multy(-1, -1, -1, -1, -1, -1), true},
        FunctionCase{"FourHeartsSide", "Q75432.KJ32.2.32", Multy(-1, -1, -1, -1, -1, -1), true},
        FunctionCase{"FourHeartsSideTooStrong", "Q75432.KJ32.2.32", Multy(-1, -1, -1, -1, 3, -1),
                     false},
        FunctionCase{"FiveHeartsSide", "Q75432.KJ432.2.2", Multy(-1, -1, -1, -1, -1, -1), true},
        FunctionCase{"FiveHeartsSideTooStrong", "Q75432.KJ432.2.2", Multy(-1, -1, -1, -1, -1, 3),
                     false},
        FunctionCase{"SevenSixTwoSuiter", "A765432.K65432.-.-", Multy(-1, -1, -1, -1, -1, -1),
                     false},
        FunctionCase{"EightSpades", "AQ765432.32.32.2", Multy(-1, -1, -1, -1, -1, -1), false},
        FunctionCase{"SevenSpades", "AKQ5432.32.32.32", Multy(-1, -1, -1, -1, -1, -1), true},
        FunctionCase{"SevenSpadesTooStrong", "AKQ5432.32.32.32", Multy(-1, -1, -1, 8, -1, -1),
                     false},
        FunctionCase{"SixSpadesTooWeak", "KQ5432.K32.32.32", Multy(-1, -1, 6, -1, -1, -1), false},
        FunctionCase{"TooManyPoints", "AKQ5432.K2.32.32", Multy(-1, -1, -1, -1, -1, -1), false},
        FunctionCase{"FiveSpades", "KQ432.K432.32.32", Multy(-1, -1, -1, -1, -1, -1), false}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Lengths, HandFunctions,
    ::testing::Values(
        FunctionCase{"FiveSpadesAtLeast", Spades5332, Suits(1, 5, -1, -1, -1), true},
        FunctionCase{"ThreeSpadesAtLeastFive", Bal5332Clubs, Suits(1, 5, -1, -1, -1), false},
        FunctionCase{"NoConditions", Shape6322, Suits(0, -1, -1, -1, -1), true},
        FunctionCase{"OnlyTheSignOfMode", Spades5332, Suits(-9, 5, 3, 2, 3), true},
        FunctionCase{"AtMostFails", Spades5332, Suits(-1, 4, -1, -1, -1), false},
        FunctionCase{"ExactlyInOrderSHDC", Bal5332Diamonds, Suits(0, 3, 3, 5, 2), true},
        FunctionCase{"ExactlyWrongOrder", Bal5332Diamonds, Suits(0, 2, 5, 3, 3), false},
        FunctionCase{"AnyNegativeIgnored", Bal5332Clubs, Suits(0, -7, -2, 2, 5), true},
        FunctionCase{"ShapeAnySuits", Hearts5332, Shape(0, 5, 3, 3, 2), true},
        FunctionCase{"ShapeAnySuitsClubs", Bal5332Clubs, Shape(0, 5, 3, 3, 2), true},
        FunctionCase{"ShapeNoSuitOverFive", Bal5332Clubs, Shape(-1, 5, -1, -1, -1), true},
        FunctionCase{"ShapeSixCards", Shape6322, Shape(-1, 5, -1, -1, -1), false},
        FunctionCase{"ShapeShortest", Shape4441, Shape(1, -1, -1, -1, 1), true},
        FunctionCase{"RangeInside", Bal4333_13, Range(13, 13), true},
        FunctionCase{"RangeReversed", Bal4333_13, Range(20, 10), false},
        FunctionCase{"RangeMinusOneMax", Bal4333_13, Range(0, -1), false},
        FunctionCase{"RangeMinusOneMin", Bal4333_13, Range(-1, 40), true}),
    CaseName);

TEST(HandFunctions, AnEmptyHandIsNeverBalancedAndMatchesOnlyZeroLengths) {
    THand hand;
    hand.ResetFigures();
    EXPECT_FALSE(hand.Balanced(-1, -1));
    EXPECT_TRUE(hand.Suits(0, 0, 0, 0, 0));
    EXPECT_TRUE(hand.Range(0, 0));
    EXPECT_FALSE(hand.Multy(-1, -1, -1, -1, -1, -1));
}

}  // namespace
