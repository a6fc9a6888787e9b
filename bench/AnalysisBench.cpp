// Double-dummy tables per second, side by side: Korvana's analysis (batches,
// cache cleared before each pass) against a reference that calls the solver's
// batch entry point directly on the same 200 deals with the same thread count.
#include <benchmark/benchmark.h>
#include <dds/dll.h>

#include <memory>
#include <vector>

#include "SolverBenchDeals.h"
#include "analysis/DoubleDummy.h"

namespace {

constexpr int32_t DealCount = 200;

const std::vector<TDeal>& Deals() {
    static const std::vector<TDeal> deals = SeededDeals(DealCount, 1u);
    return deals;
}

// The reference: the deals in batches of the solver's largest size, nothing else.
void Reference(benchmark::State& state) {
    SetMaxThreads(static_cast<int>(state.range(0)));
    auto batch = std::make_unique<ddTableDeals>();
    auto results = std::make_unique<ddTablesRes>();
    auto par = std::make_unique<allParResults>();
    int filter[DDS_STRAINS] = {0, 0, 0, 0, 0};
    for (auto _ : state) {
        for (int32_t first = 0; first < DealCount; first += MAXNOOFTABLES) {
            int count = std::min(MAXNOOFTABLES, DealCount - first);
            batch->noOfTables = count;
            for (int i = 0; i < count; ++i)
                FillReferenceCards(Deals()[static_cast<std::size_t>(first + i)],
                                   batch->deals[i].cards);
            if (CalcAllTables(batch.get(), -1, filter, results.get(), par.get()) != RETURN_NO_FAULT)
                state.SkipWithError("the solver refused a batch");
            benchmark::DoNotOptimize(results->results[0].resTable[0][0]);
        }
    }
    state.SetItemsProcessed(state.iterations() * DealCount);
}

void Korvana(benchmark::State& state) {
    SetAnalysisThreads(static_cast<int32_t>(state.range(0)));
    std::vector<const TDeal*> deals;
    for (const TDeal& deal : Deals()) deals.push_back(&deal);
    std::vector<TDealAnalysis> results;
    for (auto _ : state) {
        state.PauseTiming();
        ClearAnalysisCache();
        state.ResumeTiming();
        if (!AnalyseDeals(deals, results)) state.SkipWithError("analysis stopped");
        benchmark::DoNotOptimize(results.data());
    }
    state.SetItemsProcessed(state.iterations() * DealCount);
}

}  // namespace

// Interleaved, so that each pair meets the same load on the machine.
BENCHMARK(Reference)->Arg(1)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);
BENCHMARK(Korvana)->Arg(1)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);
BENCHMARK(Reference)->Arg(2)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);
BENCHMARK(Korvana)->Arg(2)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);
