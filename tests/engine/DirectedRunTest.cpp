// Directed runs: the same deals, dealt count and seed on any thread count,
// by key and by secret; plain dealing where the bounds leave most hands in.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "deals/BridgeTerms.h"
#include "deals/Deal.h"
#include "deals/DealCollection.h"
#include "deals/RandomSource.h"
#include "engine/Generator.h"
#include "language/Grammar.h"

namespace {

struct TRun : TGeneratorOwner {
    void ReportProgress(int32_t, int64_t dealt) override { Dealt = dealt; }
    void ShowDeal(int32_t) override {}
    void GenerationFinished(int32_t, int32_t) override {}
    bool operator==(const TRun& o) const {
        return Lines == o.Lines && Dealt == o.Dealt && SeedAfter == o.SeedAfter;
    }
    std::vector<std::string> Lines;
    int64_t Dealt = 0;
    uint32_t SeedAfter = 0;
    TDirectedPlan Plan;
};

// Key 0 deals from a secret instead.
TRun DirectedRun(const std::string& condition, int32_t total, int32_t threads, bool directed,
                 int32_t key, const std::string& fixed = "", int32_t blockSize = 0) {
    static const std::unique_ptr<TRuleList> rules = CreateConditionRules();
    TRandomSource source(static_cast<uint32_t>(key));
    TGeneratorInputs inputs{.ConditionLines = {condition},
                            .Rules = rules.get(),
                            .Source = &source,
                            .Secret = key == 0 ? std::optional(TSecret{}) : std::nullopt,
                            .RequestedTotal = total,
                            .MaxDealt = 2'000'000,
                            .ThreadCount = threads,
                            .FixedCards = ReadFixedCards(fixed).Cards,
                            .Directed = directed,
                            .BlockSize = blockSize};
    TDeals deals;
    TRun run;
    TGenerator generator(run, deals, inputs);
    EXPECT_TRUE(generator.PrepareCondition()) << condition;
    generator.Start();
    generator.Wait();
    for (int32_t i = 0; i < deals.Count(); ++i) run.Lines.push_back(deals.GetDeal(i)->ToText());
    run.SeedAfter = source.Seed();
    run.Plan = generator.DirectedPlan();
    return run;
}

TEST(DirectedRun, GivesTheSameDealsOnAnyThreadCount) {
    const std::tuple<const char*, int32_t, const char*, int32_t> cases[] = {
        {"(SuitLength(N, Spades) >= 7) AND (SuitLength(N, Hearts) >= 5) AND Range(N, 10, 12)", 31,
         "", North},
        {"Shape(S, 0, 4, 4, 4, 1) AND Range(S, 22, 24) AND (HCP(N) >= 4)", -5, "", South},
        {"(SuitLength(E, Clubs) >= 9) AND Range(E, 6, 9)", 7, "N:AK.K.. W:..A2.", East},
        {"Balanced(W, 20, 21) AND (SuitLength(E, Spades) >= 3)", 0, "", West},
    };
    for (const auto& [condition, key, fixed, seat] : cases) {
        SCOPED_TRACE(condition);
        const TRun one = DirectedRun(condition, 700, 1, true, key, fixed);
        EXPECT_TRUE(one.Plan.Directed);
        EXPECT_EQ(one.Plan.Seat, seat);
        EXPECT_EQ(one.Lines.size(), 700u);
        // The drawn hands meet most of the condition: few deals are refused.
        EXPECT_LT(one.Dealt, 700 * 20);
        for (const auto& [threads, block] : {std::pair{2, 0}, {3, 0}, {2, 100}})
            EXPECT_TRUE(DirectedRun(condition, 700, threads, true, key, fixed, block) == one);
    }
}

// Bounds that leave many hands in, or none, deal as plain dealing does.
TEST(DirectedRun, DealsPlainlyWhereBoundsLeaveManyHandsOrNone) {
    for (const char* condition :
         {"HCP(N) >= 12", "Losers(S) <= 6", "(HCP(N) >= 20) AND (HCP(N) <= 10)"}) {
        SCOPED_TRACE(condition);
        const TRun directed = DirectedRun(condition, 50, 2, true, 11);
        EXPECT_FALSE(directed.Plan.Directed);
        EXPECT_TRUE(directed == DirectedRun(condition, 50, 2, false, 11));
    }
}

}  // namespace
