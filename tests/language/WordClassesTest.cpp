#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "language/FunctionTable.h"
#include "text/StringFunctions.h"

namespace {

struct ClassCase {
    std::string word;
    bool separator, compare, op, boolean, seat, suit, function, integer, value;
};

class WordClasses : public ::testing::TestWithParam<ClassCase> {};

TEST_P(WordClasses, MatchWholeWordsExactly) {
    const ClassCase& c = GetParam();
    EXPECT_EQ(IsSeparator(c.word), c.separator);
    EXPECT_EQ(IsCompareChar(c.word), c.compare);
    EXPECT_EQ(IsOperator(c.word), c.op);
    EXPECT_EQ(IsBooleanConst(c.word), c.boolean);
    EXPECT_EQ(IsSeat(c.word), c.seat);
    EXPECT_EQ(IsSuit(c.word), c.suit);
    EXPECT_EQ(IsFunctionName(c.word), c.function);
    EXPECT_EQ(IsInteger(c.word), c.integer);
    EXPECT_EQ(IsValue(c.word), c.value);
}

// word, separator, compare, operator, boolean, seat, suit, function, integer, value
INSTANTIATE_TEST_SUITE_P(
    Vocabulary, WordClasses,
    ::testing::Values(
        ClassCase{"", false, false, false, false, false, false, false, false, false},
        ClassCase{" ", true, false, false, false, false, false, false, false, false},
        ClassCase{",", true, false, false, false, false, false, false, false, false},
        ClassCase{"(", true, false, false, false, false, false, false, false, false},
        ClassCase{")", true, false, false, false, false, false, false, false, false},
        ClassCase{"+", true, false, true, false, false, false, false, false, false},
        ClassCase{"-", true, false, true, false, false, false, false, false, false},
        ClassCase{"<", false, true, true, false, false, false, false, false, false},
        ClassCase{"=", false, true, true, false, false, false, false, false, false},
        ClassCase{"<>", false, false, true, false, false, false, false, false, false},
        ClassCase{">=", false, false, true, false, false, false, false, false, false},
        ClassCase{"NOT", false, false, true, false, false, false, false, false, false},
        ClassCase{"AND", false, false, true, false, false, false, false, false, false},
        ClassCase{"and", false, false, false, false, false, false, false, false, false},
        ClassCase{"T", false, false, false, true, false, false, false, false, true},
        ClassCase{"FALSE", false, false, false, true, false, false, false, false, true},
        ClassCase{"S", false, false, false, false, true, false, false, false, true},
        ClassCase{"E", false, false, false, false, true, false, false, false, true},
        ClassCase{"NORTH", false, false, false, false, true, false, false, false, true},
        ClassCase{"D", false, false, false, false, false, true, false, false, true},
        ClassCase{"SP", false, false, false, false, false, true, false, false, true},
        ClassCase{"SPADES", false, false, false, false, false, true, false, false, true},
        ClassCase{"SPADE", false, false, false, false, false, false, false, false, false},
        ClassCase{"HCP", false, false, false, false, false, false, true, false, false},
        ClassCase{"POLISH1C", false, false, false, false, false, false, true, false, false},
        ClassCase{"SHAPE", false, false, false, false, false, false, true, false, false},
        ClassCase{"HCP ", false, false, false, false, false, false, false, false, false},
        ClassCase{"-0", false, false, false, false, false, false, false, true, true},
        ClassCase{"007", false, false, false, false, false, false, false, true, true},
        ClassCase{"-15", false, false, false, false, false, false, false, true, true},
        ClassCase{"99999999999999999999", false, false, false, false, false, false, false, true,
                  true},
        ClassCase{"+5", false, false, false, false, false, false, false, false, false},
        ClassCase{" 5", false, false, false, false, false, false, false, false, false},
        ClassCase{"5 ", false, false, false, false, false, false, false, false, false},
        ClassCase{"1-2", false, false, false, false, false, false, false, false, false},
        ClassCase{"--1", false, false, false, false, false, false, false, false, false}));

// Every word of the language, written out here rather than read from the
// tables, falls in exactly its own class.
TEST(WordClasses, EveryWordOfTheLanguageFallsInItsOwnClass) {
    enum TClass { Operator, Boolean, Seat, Suit, Function };
    const std::vector<std::pair<std::string, TClass>> words = {
        {"OR", Operator},
        {"AND", Operator},
        {"=", Operator},
        {">=", Operator},
        {">", Operator},
        {"<=", Operator},
        {"<", Operator},
        {"<>", Operator},
        {"+", Operator},
        {"-", Operator},
        {"NOT", Operator},
        {"TRUE", Boolean},
        {"FALSE", Boolean},
        {"T", Boolean},
        {"F", Boolean},
        {"N", Seat},
        {"E", Seat},
        {"S", Seat},
        {"W", Seat},
        {"NORTH", Seat},
        {"SOUTH", Seat},
        {"EAST", Seat},
        {"WEST", Seat},
        {"C", Suit},
        {"D", Suit},
        {"H", Suit},
        {"SP", Suit},
        {"CLUBS", Suit},
        {"DIAMONDS", Suit},
        {"HEARTS", Suit},
        {"SPADES", Suit},
        {"HCP", Function},
        {"SUITLENGTH", Function},
        {"SUITBYLENGTH", Function},
        {"BALANCED", Function},
        {"POLISH1C", Function},
        {"UNBAL1D", Function},
        {"PREC1D", Function},
        {"PREC1H", Function},
        {"PREC1S", Function},
        {"PREC2C", Function},
        {"MULTY", Function},
        {"RANGE", Function},
        {"SUITS", Function},
        {"SHAPE", Function},
        {"LOSERS", Function},
        {"CONTROLS", Function},
        {"TOPHONOURS", Function},
        {"HASCARD", Function},
        {"TRICKS", Function},
    };
    for (const auto& [word, wordClass] : words) {
        EXPECT_EQ(IsOperator(word), wordClass == Operator) << word;
        EXPECT_EQ(IsBooleanConst(word), wordClass == Boolean) << word;
        EXPECT_EQ(IsSeat(word), wordClass == Seat) << word;
        EXPECT_EQ(IsSuit(word), wordClass == Suit) << word;
        EXPECT_EQ(IsFunctionName(word), wordClass == Function) << word;
    }
    EXPECT_EQ(FunctionTable().size() + OperatorTable().size() + 1 + BooleanWords.size() +
                  SeatWords.size() + SuitWords.size(),
              words.size());
    EXPECT_TRUE(IsSeparator(','));
    EXPECT_FALSE(IsSeparator('*'));
    EXPECT_TRUE(IsCompareChar('>'));
}

}  // namespace
