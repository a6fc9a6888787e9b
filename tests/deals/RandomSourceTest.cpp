#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>

#include "deals/RandomSource.h"

namespace {

TEST(RandomSource, DrawsFromSeedOne) {
    TRandomSource source(1);
    EXPECT_EQ(source.RandomBelow(52), 1);
    EXPECT_EQ(source.Seed(), 134775814u);
    EXPECT_EQ(source.RandomBelow(51), 43);
    EXPECT_EQ(source.Seed(), 3698175007u);
    EXPECT_EQ(source.RandomBelow(50), 10);
    EXPECT_EQ(source.Seed(), 870078620u);
}

TEST(RandomSource, DrawsStayBelowTheRange) {
    TRandomSource source(12345);
    for (int32_t range : {1, 2, 13, 52, 1000, INT32_MAX}) {
        for (int i = 0; i < 1000; ++i) {
            int32_t r = source.RandomBelow(range);
            ASSERT_GE(r, 0);
            ASSERT_LT(r, range);
        }
    }
}

TEST(RandomSource, ARangeOfZeroOrLessGivesZeroAndStillAdvances) {
    TRandomSource source(7);
    EXPECT_EQ(source.RandomBelow(0), 0);
    EXPECT_EQ(source.RandomBelow(-5), 0);
    EXPECT_EQ(source.Seed(), TRandomSource::NextSeed(TRandomSource::NextSeed(7)));
}

TEST(RandomSource, KeyValuesBecomeTheSeedUnchanged) {
    TRandomSource source;
    source.SetSeed(12345);
    EXPECT_EQ(source.Seed(), 12345u);
    source.SetSeed(-1);
    EXPECT_EQ(source.Seed(), 0xFFFFFFFFu);
    source.SetSeed(INT32_MIN);
    EXPECT_EQ(source.Seed(), 0x80000000u);
}

TEST(RandomSource, KeyValueZeroSeedsWithTheTimeOfDay) {
    using namespace std::chrono;
    constexpr int64_t msPerDay = 86400000;
    auto nowOfDay = [] {
        return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count() %
               msPerDay;
    };
    int64_t before = nowOfDay();
    TRandomSource source(99);
    source.SetSeed(0);
    int64_t after = nowOfDay();
    int64_t seeded = source.Seed();
    EXPECT_LT(seeded, msPerDay);
    if (before <= after) {  // not across midnight
        EXPECT_GE(seeded, before);
        EXPECT_LE(seeded, after);
    }
}

TEST(RandomSource, JumpAheadMatchesStepping) {
    for (uint32_t start : {0u, 1u, 12345u, 0xDEADBEEFu}) {
        uint32_t stepped = start;
        for (uint64_t draws = 0; draws <= 5000; ++draws) {
            ASSERT_EQ(TRandomSource::JumpAhead(start, draws), stepped) << start << " " << draws;
            stepped = TRandomSource::NextSeed(stepped);
        }
    }
    // The generator's period is 2^32: a full cycle comes back.
    EXPECT_EQ(TRandomSource::JumpAhead(42, uint64_t{1} << 32), 42u);
    EXPECT_NE(TRandomSource::JumpAhead(42, uint64_t{1} << 31), 42u);
}

TEST(RandomSource, CommitKeepsAReseedThatCameInBetween) {
    TRandomSource source(10);
    uint32_t before = source.Seed();
    EXPECT_TRUE(source.CommitSeed(before, 20));
    EXPECT_EQ(source.Seed(), 20u);
    source.StoreSeed(30);  // a reseed while a caller drew from the copy 20
    EXPECT_FALSE(source.CommitSeed(20, 40));
    EXPECT_EQ(source.Seed(), 30u);
}

}  // namespace
