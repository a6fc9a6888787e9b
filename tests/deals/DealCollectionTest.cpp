#include <gtest/gtest.h>
#include <malloc.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "deals/BridgeTerms.h"
#include "deals/DealCollection.h"

namespace {

TDeal DealOfKey(int32_t key) {
    TRandomSource source;
    source.SetSeed(key);
    TDeal deal;
    deal.DealRandom(source);
    return deal;
}

TEST(DealCollection, AddCountGetDeal) {
    TDeals deals;
    EXPECT_EQ(deals.Count(), 0);
    EXPECT_EQ(deals.GetDeal(0), nullptr);
    std::vector<TDeal*> stored;
    TRandomSource source(5);
    TDeal deal;
    for (int i = 0; i < 3000; ++i) {  // more than one block
        deal.DealRandom(source);
        stored.push_back(deals.Add(deal));
        ASSERT_EQ(stored.back()->ToText(), deal.ToText());
    }
    EXPECT_EQ(deals.Count(), 3000);
    for (int32_t i = 0; i < 3000; ++i)
        ASSERT_EQ(deals.GetDeal(i), stored[static_cast<std::size_t>(i)]);
    EXPECT_EQ(deals.GetDeal(-1), nullptr);
    EXPECT_EQ(deals.GetDeal(3000), nullptr);
    deals.Clear();
    EXPECT_EQ(deals.Count(), 0);
    EXPECT_EQ(deals.GetDeal(0), nullptr);
    EXPECT_EQ(deals.Add(deal)->ToText(), deal.ToText());
    EXPECT_EQ(deals.Count(), 1);
}

TEST(DealCollection, ReadersSeeStableDealsWhileAWriterAdds) {
    TDeals deals;
    constexpr int32_t total = 20000;
    std::atomic<bool> done{false};
    std::thread writer([&] {
        TDeal deal;
        for (int32_t i = 0; i < total; ++i) {
            deal.Hand(North).SetCard(1, i % 52 + 1);  // marks the deal with its index
            deals.Add(deal);
        }
        done = true;
    });
    // Faults are counted, not asserted: the writer is joined before any check.
    int32_t mismatches = 0, shrinks = 0, missing = 0;
    int32_t lastCount = 0;
    while ((!done || lastCount < total) && shrinks + missing == 0) {
        int32_t count = deals.Count();
        if (count < lastCount) ++shrinks;
        lastCount = count;
        if (count == 0) continue;
        int32_t index = count - 1;
        const TDeal* deal = deals.GetDeal(index);
        const TDeal* middle = deals.GetDeal(index / 2);
        if (deal == nullptr || middle == nullptr) {
            ++missing;
            continue;
        }
        if (deal->Hand(North).Card(1) != index % 52 + 1) ++mismatches;
        if (middle->Hand(North).Card(1) != index / 2 % 52 + 1) ++mismatches;
    }
    writer.join();
    EXPECT_EQ(shrinks, 0);
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(mismatches, 0);
}

int32_t Total(const int32_t* row, int32_t size) {
    int32_t sum = 0;
    for (int32_t i = 0; i < size; ++i) sum += row[i];
    return sum;
}

TEST(DealStatistics, TwoIdenticalDeals) {
    TDeals deals;
    TDeal deal = DealOfKey(1);
    deals.Add(deal);
    deals.Add(deal);
    deals.ComputeStatistics();
    for (int32_t j = 1; j <= 4; ++j) {
        THand& hand = deal.Hand(j);
        EXPECT_EQ(deals.ShapeCount[j][hand.PatternIndex()], 2);
        EXPECT_EQ(Total(deals.ShapeCount[j], 40), 2);
        EXPECT_EQ(deals.SplitCount[j][deal.SuitSplitIndex(j)], 2);
        EXPECT_EQ(Total(deals.SplitCount[j], 40), 2);
        EXPECT_EQ(deals.HcpCount[j][hand.HCP(0)], 2);
        EXPECT_EQ(Total(deals.HcpCount[j], 38), 2);
        EXPECT_EQ(deals.HcpSum[j], 2 * hand.HCP(0));
        EXPECT_EQ(Total(&deals.LengthSum[j][1], 4), 26);
        for (int32_t suit = 1; suit <= 4; ++suit)
            EXPECT_EQ(deals.LengthSum[j][suit], 2 * hand.SuitLength(suit));
    }
    // North of key 1: 4-2-2-5 with 10 points; spades split 6-4-2-1.
    EXPECT_EQ(deals.ShapeCount[North][PatternIndexOf(5, 4, 2, 2)], 2);
    EXPECT_EQ(deals.HcpCount[North][10], 2);
    EXPECT_EQ(deals.SplitCount[Spades][PatternIndexOf(6, 4, 2, 1)], 2);
    // The arrays describe the deals of the last call until the next one.
    deals.Clear();
    EXPECT_EQ(deals.HcpSum[North], 20);
    deals.ComputeStatistics();
    EXPECT_EQ(deals.HcpSum[North], 0);
    EXPECT_EQ(Total(deals.ShapeCount[North], 40), 0);
}

TEST(DealStatistics, DamagedHandsStayInsideTheArrays) {
    TDeals deals;
    TDeal deal;
    // North: thirteen aces of spades (52 points); East: card numbers outside
    // 1..52; South: a short line; West: nothing.
    const std::string north = "52525252525252525252525252;";
    const std::string east = std::string(
                                 "-9"
                                 "99"
                                 "0 "
                                 "-1"
                                 "53"
                                 "54"
                                 "99"
                                 "-0"
                                 "-2"
                                 "7 "
                                 "8 "
                                 "  "
                                 "  ") +
                             ";";
    deal.FromText(north + east + "1 2 3");
    deals.Add(deal);
    deals.Add(deal);
    deals.ComputeStatistics();
    EXPECT_EQ(Total(deals.HcpCount[North], 38), 0);  // 52 points: not counted
    EXPECT_EQ(deals.HcpSum[North], 104);
    EXPECT_EQ(deals.ShapeCount[North][1], 2);  // 13-0-0-0
    EXPECT_EQ(deals.LengthSum[North][Spades], 26);
    EXPECT_EQ(deals.ShapeCount[East][0], 2);  // two clubs only: no pattern
    EXPECT_EQ(deals.LengthSum[East][Clubs], 4);
    EXPECT_EQ(deals.HcpCount[East][0], 2);
    EXPECT_EQ(deals.ShapeCount[West][0], 2);
    EXPECT_EQ(deals.HcpCount[West][0], 2);
    EXPECT_EQ(deals.SplitCount[Spades][1], 2);  // 13-0-0-0
    EXPECT_EQ(deals.SplitCount[Clubs][0], 2);   // 3-2-0-0 is no split of 13
    deals.ClearStatistics();
    EXPECT_EQ(deals.HcpSum[North], 0);
    EXPECT_EQ(deals.ShapeCount[North][1], 0);
}

#ifndef __has_feature  // gcc names the sanitizers by macros of its own
#define __has_feature(feature) 0
#endif

TEST(DealCollection, AMillionDealsTakeAtMost128BytesEach) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__) || \
    __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
    GTEST_SKIP() << "the sanitizer's allocator keeps its own books";
#else
    constexpr int32_t total = 1000000;
    TDeals deals;
    TDeal deal = DealOfKey(3);
    struct mallinfo2 before = mallinfo2();
    for (int32_t i = 0; i < total; ++i) deals.Add(deal);
    struct mallinfo2 after = mallinfo2();
    double used =
        static_cast<double>((after.uordblks + after.hblkhd) - (before.uordblks + before.hblkhd));
    double perDeal = used / total;
    RecordProperty("BytesPerDeal", std::to_string(perDeal));
    EXPECT_GE(perDeal, static_cast<double>(sizeof(TDeal)));
    EXPECT_LE(perDeal, 128.0);
    EXPECT_EQ(sizeof(TDeal), 104u);
#endif
}

}  // namespace
