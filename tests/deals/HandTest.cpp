#include <gtest/gtest.h>

#include <array>
#include <string>

#include "HandBuilder.h"
#include "deals/Hand.h"
#include "text/StringFunctions.h"

namespace {

TEST(HandFigures, OutOfRangeArgumentsGiveNeutralResults) {
    THand hand = MakeHand("AK2.QJ3.T98.7654");
    for (int32_t suit : {0, -1, 5, 7}) EXPECT_EQ(hand.HCP(suit), 10) << suit;
    EXPECT_EQ(hand.HCP(Spades), 7);
    EXPECT_EQ(hand.HCP(Hearts), 3);
    EXPECT_EQ(hand.HCP(Clubs), 0);
    for (int32_t bad : {0, -1, 5}) {
        EXPECT_EQ(hand.SuitLength(bad), 0);
        EXPECT_EQ(hand.SuitByLength(bad), 0);
    }
    EXPECT_EQ(hand.Card(0), 0);
    EXPECT_EQ(hand.Card(14), 0);
    EXPECT_EQ(hand.SuitText(0), "");
    EXPECT_EQ(hand.SuitText(5), "");
}

struct PatternCase {
    std::string suits;
    int32_t pattern;
    std::array<int32_t, 4> byLength;
};

TEST(HandFigures, SortedLengthsAndPatternIndex) {
    const PatternCase cases[] = {
        {"AKQJ.T98.765.432", 39, {4, 3, 3, 3}},
        {"AKQJ.T98.7654.32", 38, {4, 4, 3, 2}},
        {"AK.QJT.98765.432", 36, {5, 3, 3, 2}},
        {"AKQJT98765432.-.-.-", 1, {13, 0, 0, 0}},
        {"-.-.AKQJT98765432.-", 1, {13, 0, 0, 0}},
        {"2.AKQJT987654.4.-", 4, {11, 1, 1, 0}},
        {"AKQ.-.-.-", 0, {3, 0, 0, 0}},
    };
    for (const PatternCase& c : cases) {
        THand hand = MakeHand(c.suits);
        EXPECT_EQ(hand.PatternIndex(), c.pattern) << c.suits;
        for (int32_t n = 1; n <= 4; ++n)
            EXPECT_EQ(hand.SuitByLength(n), c.byLength[n - 1]) << c.suits;
    }
}

TEST(HandTexts, VoidsAndOrder) {
    THand hand = MakeHand("AKT52.-.QJ.987654");
    EXPECT_EQ(hand.SuitText(Spades), "AKT52");
    EXPECT_EQ(hand.SuitText(Hearts), "-");
    EXPECT_EQ(hand.SuitText(Clubs), "987654");
    EXPECT_EQ(hand.SuitTexts(), (std::array<std::string, 4>{"987654", "QJ", "-", "AKT52"}));
}

TEST(HandTexts, SuitTextStopsAtTheFirstLowerCardOfAnUnsortedHand) {
    // Places as a file may hold them: a club before the spades.
    THand hand;
    hand.FromText("5214  52511 ");
    EXPECT_EQ(hand.SuitText(Spades), "A");    // stops at 14, a lower card
    EXPECT_EQ(hand.SuitText(Diamonds), "2");  // skips 52, stops at 0
    EXPECT_EQ(hand.SuitText(Clubs), "-");     // stops at 0 before the club 1
    EXPECT_EQ(hand.SuitTexts(), (std::array<std::string, 4>{"2", "2", "-", "AAK"}));
}

TEST(HandFigures, SetCardAndFromTextRenewTheFigures) {
    THand hand = MakeHand("AKQJ.T98.765.432");
    EXPECT_EQ(hand.HCP(0), 10);
    EXPECT_EQ(hand.SuitLength(Spades), 4);
    hand.SetCard(13, 52);  // the club 2 becomes a second ace of spades
    EXPECT_EQ(hand.HCP(0), 14);
    EXPECT_EQ(hand.SuitLength(Spades), 5);
    EXPECT_EQ(hand.SuitByLength(4), 2);
    hand.FromText("52525252525252525252525252;");
    EXPECT_EQ(hand.HCP(0), 52);  // the most a damaged hand can hold
    EXPECT_EQ(hand.HCP(Spades), 52);
    EXPECT_EQ(hand.SuitLength(Spades), 13);
    EXPECT_EQ(hand.PatternIndex(), 1);
}

TEST(HandCards, EveryTwoCharacterFieldIsKeptExactly) {
    THand hand;
    for (int32_t value = -9; value <= 99; ++value) {
        std::string text = IntLeft(value, 2, true) + std::string(24, ' ');
        hand.FromText(text);
        ASSERT_EQ(hand.Card(1), value);
        ASSERT_EQ(hand.ToText().substr(0, 2), IntLeft(value, 2, true));
        hand.SetCard(2, value);
        ASSERT_EQ(hand.Card(2), value);
    }
    hand.SetCard(3, 300);  // no deal line holds this: an empty place
    EXPECT_EQ(hand.Card(3), 0);
}

TEST(HandCards, ANewHandIsEmpty) {
    THand hand;
    for (int32_t j = 1; j <= 13; ++j) EXPECT_EQ(hand.Card(j), 0);
    EXPECT_EQ(hand.HCP(0), 0);
    EXPECT_EQ(hand.ToText(), "0 0 0 0 0 0 0 0 0 0 0 0 0 ;");
    EXPECT_EQ(sizeof(THand), 26u);
}

}  // namespace
