// Evaluating a checked condition against a deal must not allocate: the
// generator evaluates millions of deals per run. Allocations are counted by the
// test program's replaced operator new (see support/AllocationCounter.h).
#include <gtest/gtest.h>

#include <string>

#include "ConditionTestSupport.h"
#include "deals/Deal.h"
#include "deals/RandomSource.h"
#include "language/ConditionCheck.h"
#include "support/AllocationCounter.h"
#include "support/RecordingSink.h"

namespace {

TEST(Allocation, MatchingDealsAllocatesNothing) {
    TRecordingSink sink;
    const std::vector<std::string> conditions = {
        "(HCP(N) >= 12) AND (HCP(S) >= 12)",
        "((HCP(N) + HCP(S)) >= 25) OR NOT (Balanced(N,,17) AND (SuitLength(S, SPADES) > 4))",
        "(Multy(E) OR Polish1c(W, 12, 14, 16, 18)) AND (Suits(N, 1, 4, -1, -1, -1) OR "
        "Shape(S, 0, 4, 4, 3, 2)) AND ((-2147483648 - HCP(W, H)) <> 2147483647)",
        "NOT (Range(N, 8, 12) AND Prec1d(S) AND Unbal1d(E) AND Prec1h(W) AND Prec1s(N) AND "
        "Prec2c(S) AND (SuitByLength(E, 1) = 7)) AND HCP(N, SP, 1, 2, 3) < 9",
    };
    for (const std::string& text : conditions) {
        TCompiledCondition condition;
        ASSERT_TRUE(condition.Prepare(text, TestRules())) << text;
        TRandomSource source(42u);
        TDeal deal;
        long kept = 0;
        const long before = allocationsOfThisThread;
        for (int k = 0; k < 2000; ++k) {
            deal.DealRandom(source);
            kept += condition.Matches(deal);
        }
        EXPECT_EQ(allocationsOfThisThread - before, 0) << text;
        EXPECT_GT(kept, 0) << text;
    }
    // The counter does see allocations.
    const long before = allocationsOfThisThread;
    auto probe = std::make_unique<std::string>(100, 'x');
    EXPECT_GT(allocationsOfThisThread - before, 0);
}

}  // namespace
