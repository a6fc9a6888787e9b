// Deals solved per second for "Tricks(N, SP) >= 10", side by side: Korvana's
// compiled condition, which asks the solver whether the defence can take four
// tricks, against a reference that counts North's spade tricks exactly with
// the solver's own single-deal entry point (target -1) on the same deals.
#include <benchmark/benchmark.h>
#include <dds/dll.h>

#include <vector>

#include "SolverBenchDeals.h"
#include "analysis/DoubleDummy.h"
#include "language/ConditionCheck.h"
#include "language/Grammar.h"

namespace {

constexpr int32_t DealCount = 120;

const std::vector<TDeal>& Deals() {
    static const std::vector<TDeal> deals = SeededDeals(DealCount, 7u);
    return deals;
}

void ExactOneStrain(benchmark::State& state) {
    SetMaxThreads(1);
    int64_t kept = 0;
    for (auto _ : state) {
        for (const TDeal& deal : Deals()) {
            futureTricks future{};
            if (SolveBoard(ReferencePosition(deal, North, Spades), -1, 1, 1, &future, 0) !=
                RETURN_NO_FAULT)
                state.SkipWithError("the solver refused a deal");
            kept += 13 - future.score[0] >= 10;
        }
    }
    state.counters["kept"] = static_cast<double>(kept) / static_cast<double>(state.iterations());
    state.SetItemsProcessed(state.iterations() * DealCount);
}

void Questions(benchmark::State& state) {
    SetAnalysisThreads(1);
    auto rules = CreateConditionRules();
    TCompiledCondition condition;
    if (!condition.Prepare("Tricks(N, SP) >= 10", *rules) || !condition.IsCompiled())
        state.SkipWithError("the condition did not compile");
    int64_t kept = 0;
    const TSingleSolves before = DoubleDummySingleSolves();
    for (auto _ : state) {
        state.PauseTiming();
        ClearAnalysisCache();
        state.ResumeTiming();
        for (const TDeal& deal : Deals()) {
            TDeal copy = deal;
            kept += condition.Matches(copy);
        }
    }
    const TSingleSolves after = DoubleDummySingleSolves();
    const auto passes = static_cast<double>(state.iterations() * DealCount);
    state.counters["kept"] = static_cast<double>(kept) / static_cast<double>(state.iterations());
    state.counters["exact/deal"] = static_cast<double>(after.Exact - before.Exact) / passes;
    state.counters["questions/deal"] = static_cast<double>(after.Bounded - before.Bounded) / passes;
    state.SetItemsProcessed(state.iterations() * DealCount);
}

}  // namespace

// Interleaved, so that each pair meets the same load on the machine.
BENCHMARK(ExactOneStrain)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);
BENCHMARK(Questions)->Iterations(3)->UseRealTime()->Unit(benchmark::kSecond);
BENCHMARK(ExactOneStrain)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);
BENCHMARK(Questions)->Iterations(3)->UseRealTime()->Unit(benchmark::kSecond);
