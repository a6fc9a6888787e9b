// The time to the first kept deal under a costly condition (thousands of
// nested brackets), on one thread and on one per core: the blocks dealt
// ahead on every thread must not keep the run going once the deal is found.
#include <benchmark/benchmark.h>

#include <string>

#include "deals/DealCollection.h"
#include "deals/RandomSource.h"
#include "engine/Generator.h"
#include "language/Grammar.h"

namespace {

class TQuietOwner : public TGeneratorOwner {
public:
    void ReportProgress(int32_t, int64_t) override {}
    void ShowDeal(int32_t) override {}
    void GenerationFinished(int32_t, int32_t) override {}
};

void FirstKeptDeal(benchmark::State& state) {
    const int depth = 20000;
    const std::string condition =
        std::string(depth, '(') + "HCP(N) >= 10" + std::string(depth, ')');
    std::unique_ptr<TRuleList> rules = CreateConditionRules();
    for (auto _ : state) {
        TGeneratorInputs inputs;
        inputs.ConditionLines = {condition};
        inputs.Rules = rules.get();
        TRandomSource source;
        source.SetSeed(1);
        inputs.Source = &source;
        inputs.ThreadCount = static_cast<int32_t>(state.range(0));
        TDeals deals;
        TQuietOwner owner;
        TGenerator generator(owner, deals, inputs);
        if (!generator.PrepareCondition()) state.SkipWithError("the condition was refused");
        generator.Start();
        generator.Wait();
        benchmark::DoNotOptimize(deals.Count());
    }
}

}  // namespace

// 1: one thread; 0: one per core.
BENCHMARK(FirstKeptDeal)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
