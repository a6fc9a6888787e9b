// Evaluations per second of conditions of growing size against dealt deals:
// each iteration deals one deal, binds the checked tree and evaluates it.
// The dealing alone is measured as a baseline.
#include <benchmark/benchmark.h>

#include <string>

#include "deals/Deal.h"
#include "deals/RandomSource.h"
#include "language/ConditionCheck.h"
#include "language/Grammar.h"

namespace {

const char* const Conditions[] = {
    // small: one call, one comparison
    "HCP(N) >= 12",
    // medium: the usual opening-and-response condition
    "(HCP(N) >= 12) AND (Balanced(N) OR (SuitLength(N, SP) >= 5)) AND (HCP(S) < 10)",
    // large: most functions, arithmetic and negation
    "((HCP(N) + HCP(S)) >= 25) AND NOT (Balanced(N,,17) AND (SuitLength(S, SPADES) > 4)) AND "
    "(Multy(E) OR Polish1c(W, 12, 14, 16, 18) OR Prec1d(W) OR Unbal1d(E) OR Prec2c(W)) AND "
    "(Suits(N, 1, 4, -1, -1, -1) OR Shape(S, 0, 4, 4, 3, 2) OR (SuitByLength(E, 1) = 7)) AND "
    "((HCP(W, H) - HCP(E, D) + 3) <> 2) AND Range(N, 0, 37)",
};

void DealOnly(benchmark::State& state) {
    TRandomSource source(1u);
    TDeal deal;
    for (auto _ : state) {
        deal.DealRandom(source);
        benchmark::DoNotOptimize(deal);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(DealOnly);

void DealAndEvaluate(benchmark::State& state) {
    auto rules = CreateConditionRules();
    TCompiledCondition condition;
    const char* text = Conditions[state.range(0)];
    if (!condition.Prepare(text, *rules)) {
        state.SkipWithError("condition refused");
        return;
    }
    TRandomSource source(1u);
    TDeal deal;
    int64_t kept = 0;
    for (auto _ : state) {
        deal.DealRandom(source);
        kept += condition.Matches(deal);
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["kept%"] =
        100.0 * static_cast<double>(kept) / static_cast<double>(state.iterations());
    state.SetLabel(std::to_string(std::string(text).size()) + " characters");
}
BENCHMARK(DealAndEvaluate)->Arg(0)->Arg(1)->Arg(2);

}  // namespace
