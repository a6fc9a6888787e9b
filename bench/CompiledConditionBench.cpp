// Evaluations per second of a checked condition by the tree (bind, evaluate
// the texts) and by its compiled form, for three conditions of growing size.
// Every iteration deals a fresh deal, so the hands' caches start empty as in a
// run; DealOnly measures that dealing alone.
#include <benchmark/benchmark.h>

#include <string>

#include "deals/Deal.h"
#include "language/ConditionCheck.h"
#include "language/Grammar.h"

namespace {

const char* const Conditions[] = {
    // small: one call, one comparison
    "HCP(N) >= 12",
    // medium: North 15 to 17 balanced, South five or more spades
    "Balanced(N, 15, 17) AND (SuitLength(S, SP) >= 5)",
    // large: most functions over all four seats, arithmetic and negation
    "((HCP(N) + HCP(S)) >= 25) AND NOT (Balanced(N,,17) AND (SuitLength(S, SPADES) > 4)) AND "
    "(Multy(E) OR Polish1c(W, 12, 14, 16, 18) OR Prec1d(W) OR Unbal1d(E) OR Prec2c(W)) AND "
    "(Suits(N, 1, 4, -1, -1, -1) OR Shape(S, 0, 4, 4, 3, 2) OR (SuitByLength(E, 1) = 7)) AND "
    "((HCP(W, H) - HCP(E, D) + 3) <> 2) AND Range(N, 0, 37)",
};

void DealOnly(benchmark::State& state) {
    uint32_t seed = 1u;
    TDeal deal;
    for (auto _ : state) {
        deal.DealFromSeed(seed);
        benchmark::DoNotOptimize(deal);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(DealOnly);

template <bool Compiled>
void DealAndEvaluate(benchmark::State& state) {
    auto rules = CreateConditionRules();
    TCompiledCondition condition;
    const char* text = Conditions[state.range(0)];
    if (!condition.Prepare(text, *rules) || condition.IsCompiled() != true) {
        state.SkipWithError("condition refused or not compiled");
        return;
    }
    uint32_t seed = 1u;
    TDeal deal;
    int64_t kept = 0;
    for (auto _ : state) {
        deal.DealFromSeed(seed);
        kept += Compiled ? condition.Matches(deal) : condition.MatchesByTree(deal);
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["kept%"] =
        100.0 * static_cast<double>(kept) / static_cast<double>(state.iterations());
    state.SetLabel(std::to_string(std::string(text).size()) + " characters");
}
BENCHMARK(DealAndEvaluate<false>)->Name("Tree")->Arg(0)->Arg(1)->Arg(2);
BENCHMARK(DealAndEvaluate<true>)->Name("Compiled")->Arg(0)->Arg(1)->Arg(2);

}  // namespace
