#include <gtest/gtest.h>

#include <array>
#include <stdexcept>
#include <string>

#include "HandBuilder.h"
#include "deals/Deal.h"
#include "deals/Patterns.h"

namespace {

TDeal FirstDealOfKey(int32_t key) {
    TRandomSource source;
    source.SetSeed(key);
    TDeal deal;
    deal.DealRandom(source);
    return deal;
}

TEST(DealRandom, KeyOneGivesTheKnownDeals) {
    TRandomSource source;
    source.SetSeed(1);
    TDeal deal;
    deal.DealRandom(source);
    const std::array<std::string, 4> suits = {"7532.A6.Q2.KJ842", "K.842.KJ753.T975",
                                              "QJT964.J5.AT8.Q6", "A8.KQT973.964.A3"};
    const std::array<int32_t, 4> points = {10, 7, 10, 13};
    for (int32_t seat = 1; seat <= 4; ++seat) {
        EXPECT_EQ(SuitsOf(deal.Hand(seat)), suits[seat - 1]) << seat;
        EXPECT_EQ(deal.HCP(seat, 0), points[seat - 1]) << seat;
    }
    deal.DealRandom(source);
    EXPECT_EQ(SuitsOf(deal.Hand(North)), "Q42.AT865.QJ6.T7");
}

TEST(DealRandom, KeyTwelveThousandThreeHundredFortyFive) {
    TDeal deal = FirstDealOfKey(12345);
    EXPECT_EQ(SuitsOf(deal.Hand(North)), "A64.K75.KT9.AT94");
    EXPECT_EQ(deal.HCP(North, -1), 14);
}

TEST(DealRandom, DrawsExactly51NumbersAndUsesTheSharedSourceByDefault) {
    TRandomSource RandomSource;
    RandomSource.SetSeed(777);
    TDeal deal;
    deal.DealRandom(RandomSource);
    EXPECT_EQ(RandomSource.Seed(), TRandomSource::JumpAhead(777, 51));
    uint32_t seed = 777;
    TDeal same;
    same.DealFromSeed(seed);
    EXPECT_EQ(same.ToText(), deal.ToText());
    EXPECT_EQ(seed, RandomSource.Seed());
}

TEST(DealRandom, EveryCardOnceEachHandThirteenDescending) {
    TRandomSource source(2024);
    TDeal deal;
    for (int round = 0; round < 2000; ++round) {
        deal.DealRandom(source);
        std::array<int, 53> seen{};
        for (int32_t seat = 1; seat <= 4; ++seat) {
            const THand& hand = deal.Hand(seat);
            for (int32_t j = 1; j <= 13; ++j) {
                int32_t card = hand.Card(j);
                ASSERT_TRUE(IsCard(card));
                ++seen[static_cast<std::size_t>(card)];
                if (j > 1) {
                    ASSERT_GT(hand.Card(j - 1), card);
                }
            }
        }
        for (int32_t card = 1; card <= 52; ++card)
            ASSERT_EQ(seen[static_cast<std::size_t>(card)], 1);
        int32_t totalPoints = 0;
        for (int32_t seat = 1; seat <= 4; ++seat) totalPoints += deal.HCP(seat, 0);
        ASSERT_EQ(totalPoints, 40);
        for (int32_t suit = 1; suit <= 4; ++suit) ASSERT_NE(deal.SuitSplitIndex(suit), 0);
    }
}

TEST(DealLine, FirstDealOfKeyOne) {
    TDeal deal = FirstDealOfKey(1);
    std::string line = deal.ToText();
    ASSERT_EQ(line.size(), 108u);
    EXPECT_EQ(line.substr(0, 27), "454341403931241412107 3 1 ;");
    EXPECT_EQ(line[53], ';');
    EXPECT_EQ(line[80], ';');
    EXPECT_EQ(line[107], ';');
    TDeal copy;
    copy.FromText(line);
    EXPECT_EQ(copy.ToText(), line);
    for (int32_t seat = 1; seat <= 4; ++seat)
        EXPECT_EQ(SuitsOf(copy.Hand(seat)), SuitsOf(deal.Hand(seat)));
}

TEST(DealLine, BlankFieldsGiveEmptyHands) {
    TDeal deal;
    deal.FromText(std::string(26, ' ') + ";" + std::string(26, ' ') + ";" + std::string(26, ' ') +
                  ";" + std::string(26, ' ') + ";");
    for (int32_t seat = 1; seat <= 4; ++seat) {
        THand& hand = deal.Hand(seat);
        for (int32_t j = 1; j <= 13; ++j) EXPECT_EQ(hand.Card(j), 0);
        EXPECT_EQ(hand.HCP(0), 0);
        for (int32_t suit = 1; suit <= 4; ++suit) EXPECT_EQ(hand.SuitLength(suit), 0);
        EXPECT_EQ(hand.SuitTexts(), (std::array<std::string, 4>{"-", "-", "-", "-"}));
        EXPECT_EQ(SuitsOf(hand), "-.-.-.-");
        EXPECT_EQ(hand.PatternIndex(), 0);
    }
    EXPECT_EQ(deal.SuitSplitIndex(Spades), 0);
}

TEST(DealLine, DamagedFieldsReadAsWrittenOrZero) {
    TDeal deal;
    // North: letters, a lone minus, a negative number, 99, a tab, a card;
    // the ";" after North is not looked at; East gets one card; South and West are missing.
    deal.FromText(
        "ab- -9995\t1 ; 7 7 7 7 7 X52"
        "52");
    const THand& north = deal.Hand(North);
    const std::array<int32_t, 13> northCards = {0, 0, -9, 99, 5, 1, 0, 7, 7, 7, 7, 7, 0};
    for (int32_t j = 1; j <= 13; ++j) EXPECT_EQ(north.Card(j), northCards[j - 1]) << j;
    EXPECT_EQ(deal.Hand(East).Card(1), 52);
    EXPECT_EQ(deal.Hand(East).Card(2), 0);
    EXPECT_EQ(deal.Hand(West).Card(13), 0);
    EXPECT_EQ(deal.SuitLength(North, Clubs), 7);  // repeated cards count as often as they appear
    EXPECT_EQ(deal.HCP(North, 0), 0);
    EXPECT_EQ(north.ToText(), "0 0 -9995 1 0 7 7 7 7 7 0 ;");
}

TEST(DealSeats, OutOfRangeSeatsGiveNeutralResults) {
    TDeal deal = FirstDealOfKey(1);
    for (int32_t seat : {0, 5, -1}) {
        EXPECT_THROW(deal.Hand(seat), std::out_of_range);
        EXPECT_EQ(deal.HCP(seat, 0), 0);
        EXPECT_EQ(deal.SuitLength(seat, Spades), 0);
        EXPECT_EQ(deal.SuitByLength(seat, 1), 0);
        EXPECT_FALSE(deal.Range(seat, 0, 40));
        EXPECT_FALSE(deal.Balanced(seat, -1, -1));
        EXPECT_FALSE(deal.Polish1c(seat, 0, 40, 0, 0));
        EXPECT_FALSE(deal.Prec1d(seat, 0, 40, 0, 40));
        EXPECT_FALSE(deal.Unbal1d(seat, 0, 40));
        EXPECT_FALSE(deal.Prec1h(seat, 0, 40));
        EXPECT_FALSE(deal.Prec1s(seat, 0, 40));
        EXPECT_FALSE(deal.Prec2c(seat, 0, 40));
        EXPECT_FALSE(deal.Multy(seat, 0, 40, 0, 40, 40, 40));
        EXPECT_FALSE(deal.Suits(seat, 0, -1, -1, -1, -1));
        EXPECT_FALSE(deal.Shape(seat, 0, -1, -1, -1, -1));
    }
    // Seat forms pass their arguments on: North of key 1 is 4-2-2-5 with 10 points.
    EXPECT_EQ(deal.SuitLength(North, Clubs), 5);
    EXPECT_EQ(deal.SuitByLength(North, 2), 4);
    EXPECT_TRUE(deal.Range(North, 10, 10));
    EXPECT_TRUE(deal.Suits(North, 0, 4, 2, 2, 5));
    EXPECT_TRUE(deal.Shape(North, 0, 5, 4, 2, 2));
    EXPECT_FALSE(deal.Balanced(North, -1, -1));
    EXPECT_EQ(deal.SuitSplitIndex(Spades), PatternIndexOf(6, 4, 2, 1));
}

}  // namespace
