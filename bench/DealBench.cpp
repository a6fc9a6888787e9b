// Dealing speed: DealRandom plus the points and sorted suit lengths of all
// four hands, in deals per second; and the memory a kept deal takes in the
// collection, in bytes per deal.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include "deals/DealCollection.h"

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
