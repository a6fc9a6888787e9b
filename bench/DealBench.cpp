// Dealing speed: DealRandom plus the points and sorted suit lengths of all
// four hands, in deals per second; dealing around fixed cards (none, and
// twenty, against the free deal); and the memory a kept deal takes in the
// collection, in bytes per deal.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include "deals/DealBatch.h"
#include "deals/DealCollection.h"
#include "deals/FixedCards.h"

namespace {

void BM_DealRandomWithFigures(benchmark::State& state) {
    TRandomSource source(1);
    TDeal deal;
    for (auto _ : state) {
        deal.DealRandom(source);
        int32_t sum = 0;
        for (int32_t seat = 1; seat <= 4; ++seat) {
            THand& hand = deal.Hand(seat);
            sum += hand.HCP(0);
            for (int32_t n = 1; n <= 4; ++n) sum += hand.SuitByLength(n);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DealRandomWithFigures);

void BM_DealRandomOnly(benchmark::State& state) {
    TRandomSource source(1);
    TDeal deal;
    for (auto _ : state) {
        deal.DealRandom(source);
        benchmark::DoNotOptimize(deal);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DealRandomOnly);

// A run's own loop: the deal from a seed it keeps, with the fixed cards it
// was given. Argument 0: nothing fixed (the free deal's path); 20: twenty cards
// over the four seats, which leaves 31 draws instead of 51.
void BM_DealFromSeedWithFixed(benchmark::State& state) {
    const char* text = state.range(0) == 0 ? "" : "N:AKQ.AK.A.A E:J.Q.KQ. S:.J.J.QJ W:T9.T9..T";
    const TFixedCards fixed = ReadFixedCards(text).Cards;
    uint32_t seed = 1;
    TDeal deal;
    for (auto _ : state) {
        deal.DealFromSeed(seed, fixed);
        benchmark::DoNotOptimize(deal);
    }
    state.counters["fixed"] = fixed.Total();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DealFromSeedWithFixed)->Arg(0)->Arg(20);

// The generator's loop: eight deals at a time as card sets. Argument 1: the
// vector path (AVX2), 0: the portable path; items are deals.
void BM_DealBatch(benchmark::State& state) {
    const TDealingPath path = state.range(0) == 1 ? TDealingPath::Vector : TDealingPath::Portable;
    if (path == TDealingPath::Vector && !VectorDealingAvailable()) {
        state.SkipWithError("no AVX2 on this processor");
        return;
    }
    TDealBatch batch;
    uint32_t seed = 1;
    for (auto _ : state) {
        DealBatch(seed, batch, path);
        seed = batch.Seeds[TDealBatch::Size];
        benchmark::DoNotOptimize(batch);
    }
    state.SetItemsProcessed(state.iterations() * TDealBatch::Size);
}
BENCHMARK(BM_DealBatch)->Arg(0)->Arg(1);

void BM_StoreMillionDeals(benchmark::State& state) {
    constexpr int32_t total = 1000000;
    TRandomSource source(1);
    TDeal deal;
    double bytesPerDeal = 0;
    for (auto _ : state) {
        TDeals deals;
        struct mallinfo2 before = mallinfo2();
        for (int32_t i = 0; i < total; ++i) {
            deal.DealRandom(source);
            deals.Add(deal)->Hand(1).HCP(0);  // a kept deal with some figures cached
        }
        struct mallinfo2 after = mallinfo2();
        bytesPerDeal = static_cast<double>((after.uordblks + after.hblkhd) -
                                           (before.uordblks + before.hblkhd)) /
                       total;
    }
    state.counters["bytes_per_deal"] = bytesPerDeal;
    state.SetItemsProcessed(state.iterations() * total);
}
BENCHMARK(BM_StoreMillionDeals)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
