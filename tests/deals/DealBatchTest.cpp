// Dealing eight deals at a time must give exactly the deals and seeds of the
// one-deal loop, by the vector path and by the portable one, for every key.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "deals/Deal.h"
#include "deals/DealBatch.h"
#include "deals/RandomSource.h"

namespace {

// Compares `count` deals of both batch paths with DealFromSeed, deal by deal,
// from the seed; stops at the first difference with a failure naming it.
void CompareWithTheOneDealLoop(uint32_t seed, int64_t count) {
    const bool vector = VectorDealingAvailable();
    TDealBatch byVector, portable;
    TDeal deal, fromSets;
    uint32_t loopSeed = seed;
    for (int64_t dealt = 0; dealt < count; dealt += TDealBatch::Size) {
        DealBatch(seed, portable, TDealingPath::Portable);
        if (vector) DealBatch(seed, byVector, TDealingPath::Vector);
        for (std::size_t j = 0; j < TDealBatch::Size; ++j) {
            ASSERT_EQ(portable.Seeds[j], loopSeed) << "deal " << dealt + static_cast<int64_t>(j);
            deal.DealFromSeed(loopSeed);
            const TCardSets sets = deal.CardSets();
            ASSERT_EQ(portable.Deals[j], sets)
                << "portable, deal " << dealt + static_cast<int64_t>(j);
            if (vector) {
                ASSERT_EQ(byVector.Seeds[j], portable.Seeds[j])
                    << "deal " << dealt + static_cast<int64_t>(j);
                ASSERT_EQ(byVector.Deals[j], sets)
                    << "vector, deal " << dealt + static_cast<int64_t>(j);
            }
            // Now and then the whole deal, card places and all, from its sets.
            if ((dealt & 0xFFF) == 0) {
                fromSets.SetCardSets(sets);
                ASSERT_EQ(fromSets.ToText(), deal.ToText());
            }
        }
        ASSERT_EQ(portable.Seeds[TDealBatch::Size], loopSeed);
        if (vector) {
            ASSERT_EQ(byVector.Seeds[TDealBatch::Size], loopSeed);
        }
        seed = loopSeed;
    }
}

TEST(DealBatch, BothPathsDealTheDealsOfTheOneDealLoopForTenMillionDeals) {
    if (!VectorDealingAvailable())
        std::printf("no AVX2 here: the portable path alone is compared\n");
    // Keys with every kind of seed: small, negative, the sign bit alone, the clock's range.
    for (uint32_t seed : {1u, 0xFFFFFFFFu, 0x80000000u, 51234567u}) {
        SCOPED_TRACE(seed);
        CompareWithTheOneDealLoop(seed, 2'500'000);
    }
}

TEST(DealBatch, ASeedOfZeroAndScatteredSeedsDealAsTheLoopDoes) {
    std::mt19937 random(20261208u);
    CompareWithTheOneDealLoop(0, 64);
    for (int k = 0; k < 2000; ++k) CompareWithTheOneDealLoop(static_cast<uint32_t>(random()), 8);
}

TEST(DealBatch, TheStreamFollowsTheSeedItIsGivenAndStartsOverAfterAReseed) {
    TDealStream stream;
    uint32_t seed = 1, loopSeed = 1;
    TDeal deal;
    for (int k = 0; k < 20; ++k) {
        const TCardSets& sets = stream.Next(seed);
        deal.DealFromSeed(loopSeed);
        ASSERT_EQ(sets, deal.CardSets()) << k;
        ASSERT_EQ(seed, loopSeed) << k;
        if (k == 10) seed = loopSeed = 777;  // a reseed in the middle of a batch
    }
}

TEST(DealBatch, TheFirstDealOfKeyOneBecomesTheKnownDeal) {
    TDealBatch batch;
    DealBatch(1, batch);
    TDeal deal;
    deal.SetCardSets(batch.Deals[0]);
    // North: spades 7532, hearts A6, diamonds Q2, clubs KJ842.
    EXPECT_EQ(deal.Hand(1).SuitText(4), "7532");
    EXPECT_EQ(deal.Hand(1).SuitText(3), "A6");
    EXPECT_EQ(deal.Hand(1).SuitText(2), "Q2");
    EXPECT_EQ(deal.Hand(1).SuitText(1), "KJ842");
    EXPECT_EQ(deal.HCP(1, -1), 10);
    EXPECT_EQ(batch.Seeds[1], TRandomSource::JumpAhead(1, 51));
}

}  // namespace
