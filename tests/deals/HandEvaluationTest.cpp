// Losers, controls, single cards and top honours: worked hands, the neutral
// results, and a count from the suits' rank texts on thousands of dealt deals.
#include <gtest/gtest.h>

#include <string>

#include "HandBuilder.h"
#include "deals/BridgeTerms.h"
#include "deals/Deal.h"
#include "deals/RandomSource.h"

namespace {

struct TEvaluationCase {
    const char* hand;  // spades.hearts.diamonds.clubs
    int32_t losers;
    int32_t controls;
    int32_t spadeLosers;
    int32_t spadeControls;
};

class HandEvaluation : public testing::TestWithParam<TEvaluationCase> {};

TEST_P(HandEvaluation, CountsLosersAndControls) {
    const TEvaluationCase& c = GetParam();
    THand hand = MakeHand(c.hand);
    EXPECT_EQ(hand.Losers(-1), c.losers);
    EXPECT_EQ(hand.Losers(0), c.losers);
    EXPECT_EQ(hand.Controls(-1), c.controls);
    EXPECT_EQ(hand.Losers(Spades), c.spadeLosers);
    EXPECT_EQ(hand.Controls(Spades), c.spadeControls);
}

INSTANTIATE_TEST_SUITE_P(WorkedHands, HandEvaluation,
                         testing::Values(
                             // AKQ 0, KJ3 2, T98 3, 765 3.
                             TEvaluationCase{"AKQ2.KJ3.T98.765", 8, 4, 0, 3},
                             // Singleton king 1, doubleton KQ 1, void 0, Q-long 2.
                             TEvaluationCase{"K.KQ.-.QJT9876543", 4, 2, 1, 1},
                             // Singleton ace 0, doubleton AK 0, Ax 1, AKQ and more 0.
                             TEvaluationCase{"A.AK.A2.AKQ65432", 1, 10, 0, 2},
                             // Doubleton Qx 2, Axx 2, Kxx 2, AKQJT 0.
                             TEvaluationCase{"Q2.A32.K32.AKQJT", 6, 6, 2, 0},
                             // Thirteen spades: three losers at most in a suit.
                             TEvaluationCase{"AKQJT98765432.-.-.-", 0, 3, 0, 3},
                             TEvaluationCase{"JT98765432.-.-.432", 6, 0, 3, 0},
                             TEvaluationCase{"-.-.-.-", 0, 0, 0, 0}));

TEST(HandEvaluation, HasCardAndTopHonoursReadOneSuit) {
    THand hand = MakeHand("AQT2.K.-.J5432");
    EXPECT_TRUE(hand.HasCard(Spades, 14));
    EXPECT_FALSE(hand.HasCard(Spades, 13));
    EXPECT_TRUE(hand.HasCard(Spades, 12));
    EXPECT_TRUE(hand.HasCard(Spades, 10));
    EXPECT_TRUE(hand.HasCard(Spades, 2));
    EXPECT_TRUE(hand.HasCard(Hearts, 13));
    EXPECT_TRUE(hand.HasCard(Clubs, 11));
    EXPECT_FALSE(hand.HasCard(Diamonds, 14));
    EXPECT_EQ(hand.TopHonours(Spades, 1), 1);
    EXPECT_EQ(hand.TopHonours(Spades, 2), 1);
    EXPECT_EQ(hand.TopHonours(Spades, 3), 2);
    EXPECT_EQ(hand.TopHonours(Spades, 5), 3);
    EXPECT_EQ(hand.TopHonours(Spades, 13), 4);
    EXPECT_EQ(hand.TopHonours(Clubs, 4), 1);
    EXPECT_EQ(hand.TopHonours(Diamonds, 13), 0);
    // Neutral results for a suit, rank or count outside its range.
    for (int32_t suit : {-1, 0, 5}) {
        EXPECT_FALSE(hand.HasCard(suit, 14));
        EXPECT_EQ(hand.TopHonours(suit, 13), 0);
    }
    for (int32_t rank : {-1, 0, 1, 15, 53}) EXPECT_FALSE(hand.HasCard(Spades, rank));
    for (int32_t n : {-1, 0, 14}) EXPECT_EQ(hand.TopHonours(Spades, n), 0);
}

TEST(HandEvaluation, ASeatOutsideOneToFourGivesNeutralResults) {
    TDeal deal;
    TRandomSource source(7);
    deal.DealRandom(source);
    for (int32_t seat : {-1, 0, 5}) {
        EXPECT_EQ(deal.Losers(seat, -1), 0);
        EXPECT_EQ(deal.Controls(seat, -1), 0);
        EXPECT_FALSE(deal.HasCard(seat, Spades, 14));
        EXPECT_EQ(deal.TopHonours(seat, Spades, 5), 0);
    }
}

// A hand read from a damaged deal line: a repeated card counts once, places
// that are no card count nothing.
TEST(HandEvaluation, RepeatedAndForeignPlacesCountOnce) {
    THand hand;
    for (int32_t j = 1; j <= 13; ++j) hand.SetCard(j, j <= 3 ? 52 : j <= 6 ? -5 : 99);
    EXPECT_EQ(hand.Controls(Spades), 2);
    EXPECT_EQ(hand.TopHonours(Spades, 13), 1);
    EXPECT_TRUE(hand.HasCard(Spades, 14));
    EXPECT_EQ(hand.Losers(Spades), 2);  // "three" spades, only the ace among them
}

// The reference reads the suits' rank texts, which list a dealt hand's cards
// from the highest down.
int32_t ReferenceLosers(const std::string& suit) {
    if (suit == "-") return 0;
    const std::size_t counted = std::min<std::size_t>(suit.size(), 3);
    int32_t losers = 0;
    for (std::size_t k = 0; k < counted; ++k)
        if (std::string("AKQ").substr(0, counted).find(suit[k]) == std::string::npos) ++losers;
    return losers;
}

TEST(HandEvaluation, AgreesWithTheRankTextsOnDealtDeals) {
    TRandomSource source(20260);
    TDeal deal;
    const std::string ranks = "AKQJT98765432";
    for (int32_t n = 0; n < 3000; ++n) {
        deal.DealRandom(source);
        for (int32_t seat = North; seat <= West; ++seat) {
            int32_t losers = 0, controls = 0;
            for (int32_t suit = Clubs; suit <= Spades; ++suit) {
                const std::string text = deal.Hand(seat).SuitText(suit);
                const int32_t suitControls = 2 * (text.find('A') != std::string::npos) +
                                             (text.find('K') != std::string::npos);
                EXPECT_EQ(deal.Losers(seat, suit), ReferenceLosers(text)) << text;
                EXPECT_EQ(deal.Controls(seat, suit), suitControls) << text;
                losers += ReferenceLosers(text);
                controls += suitControls;
                for (int32_t rank = 2; rank <= 14; ++rank)
                    ASSERT_EQ(
                        deal.HasCard(seat, suit, rank),
                        text.find(ranks[static_cast<std::size_t>(14 - rank)]) != std::string::npos)
                        << text << " " << rank;
                for (int32_t top = 1; top <= 13; ++top) {
                    int32_t held = 0;
                    for (char c : ranks.substr(0, static_cast<std::size_t>(top)))
                        held += text.find(c) != std::string::npos;
                    ASSERT_EQ(deal.TopHonours(seat, suit, top), held) << text << " " << top;
                }
            }
            EXPECT_EQ(deal.Losers(seat, -1), losers);
            EXPECT_EQ(deal.Controls(seat, -1), controls);
        }
    }
}

}  // namespace
