// Dealing and the hand functions allocate nothing per deal.
#include <gtest/gtest.h>

#include "deals/BridgeTerms.h"
#include "deals/Deal.h"
#include "support/AllocationCounter.h"

namespace {

// Everything a condition can ask of one deal.
int64_t AskEverything(TDeal& deal) {
    int64_t sum = 0;
    for (int32_t seat = 1; seat <= 4; ++seat) {
        for (int32_t k = -1; k <= 5; ++k)
            sum += deal.HCP(seat, k) + deal.SuitLength(seat, k) + deal.SuitByLength(seat, k);
        sum += deal.Range(seat, 10, 15) + deal.Balanced(seat, -1, -1) +
               deal.Polish1c(seat, -1, -1, -1, -1) + deal.Prec1d(seat, -1, -1, -1, -1) +
               deal.Unbal1d(seat, -1, -1) + deal.Prec1h(seat, -1, -1) + deal.Prec1s(seat, -1, -1) +
               deal.Prec2c(seat, -1, -1) + deal.Multy(seat, -1, -1, -1, -1, -1, -1) +
               deal.Suits(seat, 1, 5, -1, -1, -1) + deal.Shape(seat, 0, 4, 3, 3, 3) +
               deal.Hand(seat).PatternIndex();
        sum += deal.SuitSplitIndex(seat);
    }
    return sum;
}

TEST(DealAllocations, DealingAndHandFunctionsAllocateNothing) {
    // The counter must see allocations, or the test below proves nothing.
    long before = AllocationsOfThisThread();
    int* volatile probe = new int(1);
    delete probe;
    ASSERT_EQ(AllocationsOfThisThread(), before + 1);

    TRandomSource source(4242);
    TDeal deal;
    int64_t sum = 0;
    before = AllocationsOfThisThread();
    for (int i = 0; i < 10000; ++i) {
        deal.DealRandom(source);
        sum += AskEverything(deal);
        // Up to 13 characters stay in the string's own buffer.
        sum += static_cast<int64_t>(deal.Hand(North).SuitText(Spades).size());
    }
    long during = AllocationsOfThisThread() - before;
    EXPECT_EQ(during, 0);
    EXPECT_GT(sum, 0);
}

}  // namespace
