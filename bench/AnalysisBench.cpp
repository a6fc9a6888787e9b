// Double-dummy tables per second, side by side: Korvana's analysis (batches,
// cache cleared before each pass) against a reference that calls the solver's
// batch entry point directly on the same 200 deals with the same thread count.
#include <benchmark/benchmark.h>
#include <dds/dll.h>

#include <memory>
#include <vector>

#include "analysis/DoubleDummy.h"
#include "deals/BridgeTerms.h"
#include "deals/Deal.h"

namespace {

constexpr int32_t DealCount = 200;

const std::vector<TDeal>& Deals() {
    static const std::vector<TDeal> deals = [] {
        std::vector<TDeal> made(DealCount);
        uint32_t seed = 1u;
        for (TDeal& deal : made) deal.DealFromSeed(seed);
        return made;
    }();
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
            for (int i = 0; i < count; ++i) {
                auto& cards = batch->deals[i].cards;
                for (auto& hand : cards)
                    for (unsigned& suit : hand) suit = 0;
                const TDeal& deal = Deals()[static_cast<std::size_t>(first + i)];
                for (int32_t seat = 1; seat <= 4; ++seat)
                    for (int32_t j = 1; j <= THand::CardsInHand; ++j) {
                        int32_t card = deal.Hand(seat).Card(j);
                        cards[seat - 1][4 - CardSuit(card)] |= 1u << ((card - 1) % 13 + 2);
                    }
            }
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
