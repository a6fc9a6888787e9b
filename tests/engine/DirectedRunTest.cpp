// Directed runs: the same deals, dealt count and seed on any thread count,
// by key and by secret; plain dealing where the bounds leave most hands in.
#include <gtest/gtest.h>

#include <optional>
#include <string>
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

TRun DirectedRun(const std::string& condition, int32_t total, int32_t threads, bool directed,
                 int32_t key, bool secure = false, const std::string& fixed = "",
                 int32_t blockSize = 0) {
    static const std::unique_ptr<TRuleList> rules = CreateConditionRules();
    TRandomSource source(static_cast<uint32_t>(key));
    TGeneratorInputs inputs{.ConditionLines = {condition},
                            .Rules = rules.get(),
                            .Source = &source,
                            .Secret = secure ? std::optional(TSecret{}) : std::nullopt,
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
    struct TCase {
        const char* Condition;
        int32_t Key;
        bool Secure;
        const char* Fixed;
        int32_t Seat;
    };
    const TCase cases[] = {
        {"(SuitLength(N, Spades) >= 7) AND (SuitLength(N, Hearts) >= 5) AND Range(N, 10, 12)", 31,
         false, "", North},
        {"Shape(S, 0, 4, 4, 4, 1) AND Range(S, 22, 24) AND (HCP(N) >= 4)", -5, false, "", South},
        {"(SuitLength(E, Clubs) >= 9) AND Range(E, 6, 9)", 7, false, "N:AK.K.. W:..A2.", East},
        {"Balanced(W, 20, 21) AND (SuitLength(E, Spades) >= 3)", 9, true, "", West},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Condition);
        const TRun one = DirectedRun(c.Condition, 700, 1, true, c.Key, c.Secure, c.Fixed);
        EXPECT_TRUE(one.Plan.Directed);
        EXPECT_EQ(one.Plan.Seat, c.Seat);
        EXPECT_EQ(one.Lines.size(), 700u);
        // The drawn hands meet most of the condition: few deals are refused.
        EXPECT_LT(one.Dealt, 700 * 20);
        for (const auto& [threads, block] : {std::pair{2, 0}, {3, 0}, {2, 100}})
            EXPECT_TRUE(DirectedRun(c.Condition, 700, threads, true, c.Key, c.Secure, c.Fixed,
                                    block) == one);
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
    EXPECT_NEAR(DirectedRun("HCP(N) >= 12", 1, 1, false, 1).Plan.Share, 0.35, 0.01);
}

TEST(DirectedRun, SharesAreWrittenWithTwoDigits) {
    const std::pair<double, const char*> cases[] = {
        {0.35, "0,35"},       {0.012, "0,012"},     {0.0999, "0,10"}, {1, "1,0"},
        {2.9e-5, "2,9·10⁻⁵"}, {1e-10, "1,0·10⁻¹⁰"}, {0, "0"}};
    for (const auto& [share, text] : cases) EXPECT_EQ(ShareText(share), text) << share;
}

}  // namespace
