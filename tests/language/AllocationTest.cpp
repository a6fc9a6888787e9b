// Evaluating a checked condition against a deal must not allocate: the
// generator evaluates millions of deals per run. This file replaces the global
// operator new of the test program with a counting one.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "ConditionTestSupport.h"
#include "deals/Deal.h"
#include "deals/RandomSource.h"
#include "language/ConditionCheck.h"
#include "support/RecordingSink.h"

namespace {
std::atomic<long> allocations{0};
}

// GCC cannot see that this operator new allocates with malloc.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

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
        const long before = allocations.load();
        for (int k = 0; k < 2000; ++k) {
            deal.DealRandom(source);
            kept += condition.Matches(deal);
        }
        EXPECT_EQ(allocations.load() - before, 0) << text;
        EXPECT_GT(kept, 0) << text;
    }
    // The counter does see allocations.
    const long before = allocations.load();
    auto probe = std::make_unique<std::string>(100, 'x');
    EXPECT_GT(allocations.load() - before, 0);
}

}  // namespace
